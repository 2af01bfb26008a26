#pragma once

#include "PrintSurface.h"

namespace folionix {

enum class SurfaceEvent
{
    NewPage,
    EndPage,
    NewColumn,
    BeforeHeader,
    BeforeFooter,
    Error
};

// Raises page events on the registered handler and knows whether a page or column break is in
// progress, so that text a handler adds never starts another break from inside the first.
class EventDispatch
{
public:
    void setHandler(SurfaceEvents* handler) { m_handler = handler; }
    void raise(SurfaceEvent event);
    bool breaking() const { return m_breakDepth > 0; }

    class BreakScope
    {
    public:
        explicit BreakScope(EventDispatch& dispatch) : m_dispatch(dispatch) { ++m_dispatch.m_breakDepth; }
        ~BreakScope() { --m_dispatch.m_breakDepth; }
        BreakScope(const BreakScope&) = delete;
        BreakScope& operator=(const BreakScope&) = delete;

    private:
        EventDispatch& m_dispatch;
    };

private:
    SurfaceEvents* m_handler = nullptr;
    int m_breakDepth = 0;
};

} // namespace folionix
