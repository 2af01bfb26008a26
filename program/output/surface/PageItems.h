#pragma once

#include "Document.h"

#include <algorithm>
#include <limits>

namespace folionix {

// Walks the four item lists of a page in drawing order (by seq). Each list is already in seq order
// because items are appended as they are drawn, so this is a merge, not a sort.
class PageItemCursor
{
public:
    enum class Kind
    {
        Run,
        Shape,
        Picture,
        TextBox,
        End
    };

    explicit PageItemCursor(const Page& page) : m_page(page) {}

    Kind next() const
    {
        const uint32_t run = seqAt(m_page.runs, m_run);
        const uint32_t shape = seqAt(m_page.shapes, m_shape);
        const uint32_t picture = seqAt(m_page.pictures, m_picture);
        const uint32_t box = seqAt(m_page.textBoxes, m_box);
        const uint32_t least = std::min(std::min(run, shape), std::min(picture, box));
        if (least == None)
            return Kind::End;
        if (least == run)
            return Kind::Run;
        if (least == shape)
            return Kind::Shape;
        return least == picture ? Kind::Picture : Kind::TextBox;
    }

    // The seq of the next item that is not a text run: runs before it may be painted together.
    uint32_t nextOtherSeq() const
    {
        return std::min(std::min(seqAt(m_page.shapes, m_shape), seqAt(m_page.pictures, m_picture)),
                        seqAt(m_page.textBoxes, m_box));
    }

    size_t runIndex() const { return m_run; }
    const Shape& shape() const { return m_page.shapes[m_shape]; }
    const PlacedPicture& picture() const { return m_page.pictures[m_picture]; }
    const TextBox& textBox() const { return m_page.textBoxes[m_box]; }

    void skipRuns(size_t count) { m_run += count; }
    void skip(Kind kind)
    {
        switch (kind) {
        case Kind::Run:
            ++m_run;
            break;
        case Kind::Shape:
            ++m_shape;
            break;
        case Kind::Picture:
            ++m_picture;
            break;
        case Kind::TextBox:
            ++m_box;
            break;
        case Kind::End:
            break;
        }
    }

private:
    static constexpr uint32_t None = std::numeric_limits<uint32_t>::max();

    template <class T> static uint32_t seqAt(const std::vector<T>& items, size_t index)
    {
        return index < items.size() ? items[index].seq : None;
    }

    const Page& m_page;
    size_t m_run = 0;
    size_t m_shape = 0;
    size_t m_picture = 0;
    size_t m_box = 0;
};

} // namespace folionix
