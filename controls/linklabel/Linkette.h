#pragma once

#include "linkette_export.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QVariantMap>
#include <QWidget>
#include <exception>
#include <functional>

class QLabel;

namespace linkette {

// Raised by property writes that get an out-of-range value; the property keeps its old value.
struct LINKETTE_EXPORT LinketteError : std::exception
{
    LinketteError(int number, QString source, QString description);
    const char* what() const noexcept override;

    int number;
    QString source;
    QString description;

private:
    QByteArray m_what;
};

class LinketteAccessible;

// A label (or, in graphical style, a picture) that behaves like a web link: a click opens URL.
// With Hover on, the text looks plain until the mouse is over it.
class LINKETTE_EXPORT Linkette : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption NOTIFY PropertyChanged)
    Q_PROPERTY(QFont Font READ Font WRITE setFont NOTIFY PropertyChanged)
    Q_PROPERTY(int BackStyle READ BackStyle WRITE setBackStyle NOTIFY PropertyChanged)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled NOTIFY PropertyChanged)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor NOTIFY PropertyChanged)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE setForeColor NOTIFY PropertyChanged)
    Q_PROPERTY(bool Hover READ Hover WRITE setHover NOTIFY PropertyChanged)
    Q_PROPERTY(QColor LinkColor READ LinkColor WRITE setLinkColor NOTIFY PropertyChanged)
    Q_PROPERTY(int Style READ Style WRITE setStyle NOTIFY PropertyChanged)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE setPicture NOTIFY PropertyChanged)
    Q_PROPERTY(QString URL READ URL WRITE setURL NOTIFY PropertyChanged)
    Q_PROPERTY(int ScaleWidth READ ScaleWidth NOTIFY Resize)
    Q_PROPERTY(int ScaleHeight READ ScaleHeight NOTIFY Resize)

public:
    enum BackStyles
    {
        Transparent = 0,
        Opaque = 1
    };
    Q_ENUM(BackStyles)
    enum Styles
    {
        Standard = 0,
        Graphical = 1
    };
    Q_ENUM(Styles)

    // What HyperJump(url) returns: above 32 when the URL was handed to the desktop, a small
    // number when that failed, 0 when there was nothing to open.
    static constexpr int JumpNothing = 0;
    static constexpr int JumpFailed = 2;
    static constexpr int JumpOpened = 33;

    explicit Linkette(QWidget* parent = nullptr);
    ~Linkette() override;

    // Until written (or loaded), the caption follows objectName(), "Linkette1" when that is empty.
    QString Caption() const;
    void setCaption(const QString& caption);
    // Hides QWidget::setFont so that a write is reported; both change the same font.
    QFont Font() const;
    void setFont(const QFont& font);
    // Throws LinketteError 380 for values outside Transparent..Opaque.
    int BackStyle() const;
    void setBackStyle(int backStyle);
    // The control's own enabled state, not its ancestors'.
    bool Enabled() const;
    void setEnabled(bool enabled);
    QColor BackColor() const;
    void setBackColor(const QColor& color);
    QColor ForeColor() const;
    void setForeColor(const QColor& color);
    bool Hover() const;
    void setHover(bool hover);
    QColor LinkColor() const;
    void setLinkColor(const QColor& color);
    // Throws LinketteError 380 for values outside Standard..Graphical.
    int Style() const;
    void setStyle(int style);
    // A null pixmap means the built-in picture.
    QPixmap Picture() const;
    void setPicture(const QPixmap& picture);
    QString URL() const;
    void setURL(const QString& url);

    int ScaleWidth() const;
    int ScaleHeight() const;
    bool isHot() const;

    // Opens url without raising any event; JumpNothing for an empty url.
    int HyperJump(const QString& url);
    void Refresh();

    // Writes all eleven stored names ("Caption", "Font", "BackStyle", "Enabled", "BackColor",
    // "ForeColor", "Hover", "LinkColor", "Style", "Picture", "URL"); Picture is a null QPixmap for none.
    void WriteProperties(QVariantMap& bag) const;
    // Missing names, and out-of-range styles, take the defaults of a new control. Loading is not a
    // write: it raises neither PropertyChanged nor Change, only one Resize from the final fitting.
    void ReadProperties(const QVariantMap& bag);

    // Opens a URL and says whether that worked. Tests replace it; an empty function restores the
    // desktop's default handler.
    using UrlOpener = std::function<bool(const QString& url)>;
    static void setUrlOpener(UrlOpener opener);

signals:
    void Click();
    // Raised before the link is opened; a handler that sets cancel stops the opening. The name is
    // shared with the HyperJump(url) method, so connect with qOverload<bool&>(&Linkette::HyperJump),
    // and always directly: the handler writes through the reference.
    void HyperJump(bool& cancel);
    void Change();
    void Resize();
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QSize sizeHint() const override;

private:
    friend class LinketteAccessible;

    QString defaultCaption() const;
    void applyCaption(const QString& caption);
    void applyBackground();
    void applyPicture();
    void fitSize();
    void refreshLook();
    void trackHot(bool over);
    void activate();

    QLabel* m_label = nullptr;
    QLabel* m_image = nullptr;
    QPixmap m_builtinPicture;
    QPixmap m_picture;
    QString m_url;
    QColor m_backColor;
    QColor m_foreColor;
    QColor m_linkColor;
    int m_backStyle = Opaque;
    int m_style = Standard;
    bool m_hover = true;
    bool m_hot = false;
    bool m_busy = false;
    bool m_pressed = false;
    bool m_captionWritten = false;
};

} // namespace linkette
