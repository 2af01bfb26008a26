#include "Linkette.h"

#include "LinketteAccessible.h"
#include "LinketteArt.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionFocusRect>
#include <QUrl>
#include <utility>

namespace linkette {

namespace {

constexpr int kIllegalPropertyValue = 380;
constexpr QColor kDefaultLinkColor(0, 0, 255);

Linkette::UrlOpener& urlOpener()
{
    static Linkette::UrlOpener opener;
    return opener;
}

bool openWithDesktop(const QString& url)
{
    // fromUserInput turns "www.example.org" and plain paths into something a handler accepts.
    const QUrl target = QUrl::fromUserInput(url);
    return target.isValid() && QDesktopServices::openUrl(target);
}

[[noreturn]] void throwIllegalValue(const char* source)
{
    throw LinketteError(kIllegalPropertyValue, QString::fromLatin1(source),
                        QStringLiteral("Illegal Property Value"));
}

bool isStyleValue(int value)
{
    return value == 0 || value == 1;
}

// The hourglass stays up exactly as long as the desktop takes, even if the opener throws.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

template <typename T> T stored(const QVariantMap& bag, const char* name, const T& fallback)
{
    const auto it = bag.constFind(QLatin1String(name));
    if (it == bag.cend() || !it->isValid() || !it->canConvert<T>())
        return fallback;
    return it->value<T>();
}

void setTextLook(QLabel* label, const QColor& color, bool underline)
{
    // Only real changes are written, so hot tracking does not repaint on every mouse move.
    if (label->palette().color(QPalette::WindowText) != color) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, color);
        label->setPalette(palette);
    }
    if (label->font().underline() != underline) {
        // A font that only says "underline": family and size keep following the control's font.
        QFont font;
        font.setUnderline(underline);
        label->setFont(font);
    }
}

} // namespace

LinketteError::LinketteError(int number, QString source, QString description)
    : number(number), source(std::move(source)), description(std::move(description)),
      m_what((this->source + QStringLiteral(": ") + this->description).toUtf8())
{}

const char* LinketteError::what() const noexcept
{
    return m_what.constData();
}

Linkette::Linkette(QWidget* parent)
    : QWidget(parent), m_label(new QLabel(this)), m_image(new QLabel(this)),
      m_builtinPicture(builtinPicture())
{
    LinketteAccessible::install();
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setTextFormat(Qt::PlainText);
    m_image->setObjectName(QStringLiteral("Image1"));
    // The parts only show; the control itself takes every click, so the whole rectangle is live.
    for (QLabel* part : {m_label, m_image}) {
        part->setAttribute(Qt::WA_TransparentForMouseEvents);
        part->move(0, 0);
    }
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    m_backColor = palette().color(QPalette::Button);
    m_foreColor = palette().color(QPalette::ButtonText);
    m_linkColor = kDefaultLinkColor;
    applyBackground();
    applyPicture();
    applyCaption(defaultCaption());
    // A new control is named by its container after construction; its text follows until written.
    connect(this, &QObject::objectNameChanged, this, [this] {
        if (!m_captionWritten)
            applyCaption(defaultCaption());
    });
    fitSize();
    refreshLook();
}

Linkette::~Linkette() = default;

QString Linkette::Caption() const
{
    return m_label->text();
}

void Linkette::setCaption(const QString& caption)
{
    m_captionWritten = true;
    applyCaption(caption);
    emit PropertyChanged(QStringLiteral("Caption"));
}

QFont Linkette::Font() const
{
    return QWidget::font();
}

void Linkette::setFont(const QFont& font)
{
    // The font change event fits the size and refreshes the look.
    QWidget::setFont(font);
    emit PropertyChanged(QStringLiteral("Font"));
}

int Linkette::BackStyle() const
{
    return m_backStyle;
}

void Linkette::setBackStyle(int backStyle)
{
    if (!isStyleValue(backStyle))
        throwIllegalValue("Linkette.BackStyle");
    m_backStyle = backStyle;
    applyBackground();
    emit PropertyChanged(QStringLiteral("BackStyle"));
}

bool Linkette::Enabled() const
{
    return !testAttribute(Qt::WA_ForceDisabled);
}

void Linkette::setEnabled(bool enabled)
{
    QWidget::setEnabled(enabled);
    emit PropertyChanged(QStringLiteral("Enabled"));
}

QColor Linkette::BackColor() const
{
    return m_backColor;
}

void Linkette::setBackColor(const QColor& color)
{
    m_backColor = color;
    applyBackground();
    emit PropertyChanged(QStringLiteral("BackColor"));
}

QColor Linkette::ForeColor() const
{
    return m_foreColor;
}

void Linkette::setForeColor(const QColor& color)
{
    m_foreColor = color;
    refreshLook();
    emit PropertyChanged(QStringLiteral("ForeColor"));
}

bool Linkette::Hover() const
{
    return m_hover;
}

void Linkette::setHover(bool hover)
{
    m_hover = hover;
    refreshLook();
    emit PropertyChanged(QStringLiteral("Hover"));
}

QColor Linkette::LinkColor() const
{
    return m_linkColor;
}

void Linkette::setLinkColor(const QColor& color)
{
    m_linkColor = color;
    refreshLook();
    emit PropertyChanged(QStringLiteral("LinkColor"));
}

int Linkette::Style() const
{
    return m_style;
}

void Linkette::setStyle(int style)
{
    if (!isStyleValue(style))
        throwIllegalValue("Linkette.Style");
    if (style != m_style) {
        m_style = style;
        m_hot = false;
        fitSize();
        refreshLook();
    }
    emit PropertyChanged(QStringLiteral("Style"));
}

QPixmap Linkette::Picture() const
{
    return m_picture;
}

void Linkette::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    applyPicture();
    if (m_style == Graphical && !m_busy) {
        fitSize();
        emit Change();
    }
    emit PropertyChanged(QStringLiteral("Picture"));
}

QString Linkette::URL() const
{
    return m_url;
}

void Linkette::setURL(const QString& url)
{
    m_url = url;
    setAccessibleDescription(url);
    emit PropertyChanged(QStringLiteral("URL"));
}

int Linkette::ScaleWidth() const
{
    return contentsRect().width();
}

int Linkette::ScaleHeight() const
{
    return contentsRect().height();
}

bool Linkette::isHot() const
{
    return m_hot;
}

int Linkette::HyperJump(const QString& url)
{
    if (url.isEmpty())
        return JumpNothing;
    bool opened = false;
    {
        BusyCursor hourglass;
        const UrlOpener& opener = urlOpener();
        opened = opener ? opener(url) : openWithDesktop(url);
    }
    return opened ? JumpOpened : JumpFailed;
}

void Linkette::Refresh()
{
    refreshLook();
    update();
}

void Linkette::WriteProperties(QVariantMap& bag) const
{
    bag.insert(QStringLiteral("Caption"), Caption());
    bag.insert(QStringLiteral("Font"), QVariant::fromValue(Font()));
    bag.insert(QStringLiteral("BackStyle"), m_backStyle);
    bag.insert(QStringLiteral("Enabled"), Enabled());
    bag.insert(QStringLiteral("BackColor"), QVariant::fromValue(m_backColor));
    bag.insert(QStringLiteral("ForeColor"), QVariant::fromValue(m_foreColor));
    bag.insert(QStringLiteral("Hover"), m_hover);
    bag.insert(QStringLiteral("LinkColor"), QVariant::fromValue(m_linkColor));
    bag.insert(QStringLiteral("Style"), m_style);
    bag.insert(QStringLiteral("Picture"), QVariant::fromValue(m_picture));
    bag.insert(QStringLiteral("URL"), m_url);
}

void Linkette::ReadProperties(const QVariantMap& bag)
{
    // Busy keeps every step from fitting on its own; one fitting at the end does it all.
    m_busy = true;
    m_captionWritten = true;
    applyCaption(stored(bag, "Caption", defaultCaption()));
    // A default QFont sets nothing, so the control inherits its container's font again.
    QWidget::setFont(stored(bag, "Font", QFont()));
    const int backStyle = stored(bag, "BackStyle", int(Opaque));
    m_backStyle = isStyleValue(backStyle) ? backStyle : Opaque;
    QWidget::setEnabled(stored(bag, "Enabled", true));
    m_backColor = stored(bag, "BackColor", palette().color(QPalette::Button));
    m_foreColor = stored(bag, "ForeColor", palette().color(QPalette::ButtonText));
    m_hover = stored(bag, "Hover", true);
    m_linkColor = stored(bag, "LinkColor", kDefaultLinkColor);
    const int style = stored(bag, "Style", int(Standard));
    m_style = isStyleValue(style) ? style : Standard;
    m_picture = stored(bag, "Picture", QPixmap());
    m_url = stored(bag, "URL", QString());
    setAccessibleDescription(m_url);
    m_hot = false;
    applyBackground();
    applyPicture();
    m_busy = false;
    fitSize();
    refreshLook();
}

void Linkette::setUrlOpener(UrlOpener opener)
{
    urlOpener() = std::move(opener);
}

void Linkette::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (!hasFocus())
        return;
    // The parts paint over this, so the frame shows at the edges without hiding the text.
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = m_backColor;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void Linkette::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The control's size is its part's size; a container resizing it gets fitted back.
    fitSize();
}

void Linkette::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_busy)
        refreshLook();
}

void Linkette::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_label->adjustSize();
        fitSize();
        refreshLook();
    }
}

void Linkette::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    trackHot(true);
}

void Linkette::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    trackHot(false);
}

void Linkette::mouseMoveEvent(QMouseEvent* event)
{
    trackHot(rect().contains(event->position().toPoint()));
    event->accept();
}

void Linkette::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    event->accept();
}

void Linkette::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    event->accept();
    if (rect().contains(event->position().toPoint()))
        activate();
}

void Linkette::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first click of the pair already opened the link; a second opening would be a surprise.
    event->accept();
}

void Linkette::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool activates = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!activates || event->isAutoRepeat()) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    activate();
}

QSize Linkette::sizeHint() const
{
    return m_style == Standard ? m_label->sizeHint() : m_image->sizeHint();
}

QString Linkette::defaultCaption() const
{
    return objectName().isEmpty() ? QStringLiteral("Linkette1") : objectName();
}

void Linkette::applyCaption(const QString& caption)
{
    if (caption == m_label->text())
        return;
    m_label->setText(caption);
    m_label->adjustSize();
    setAccessibleName(caption);
    if (m_style == Standard && !m_busy) {
        fitSize();
        emit Change();
    }
}

void Linkette::applyBackground()
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, m_backColor);
    setPalette(colours);
    setAutoFillBackground(m_backStyle == Opaque);
    update();
}

void Linkette::applyPicture()
{
    m_image->setPixmap(m_picture.isNull() ? m_builtinPicture : m_picture);
    m_image->adjustSize();
}

void Linkette::fitSize()
{
    if (m_busy)
        return;
    m_busy = true;
    if (m_style == Standard) {
        m_image->hide();
        m_label->show();
        m_label->adjustSize();
        resize(m_label->size());
    } else {
        m_label->hide();
        m_image->show();
        resize(m_image->size());
    }
    updateGeometry();
    m_busy = false;
    emit Resize();
}

void Linkette::refreshLook()
{
    if (m_style == Standard) {
        const bool asLink = !m_hover || m_hot;
        setTextLook(m_label, asLink ? m_linkColor : m_foreColor, asLink);
        m_label->update();
    } else {
        m_image->update();
    }
}

void Linkette::trackHot(bool over)
{
    if (m_busy)
        return;
    const bool hot = over && m_style == Standard && m_hover && !m_url.isEmpty();
    if (hot == m_hot)
        return;
    m_hot = hot;
    refreshLook();
}

void Linkette::activate()
{
    const QPointer<Linkette> self(this);
    m_busy = true;
    bool cancel = false;
    emit HyperJump(cancel);
    if (!self)
        return;
    if (!cancel)
        HyperJump(m_url);
    m_busy = false;
    emit Click();
    if (!self)
        return;
    m_hot = false;
    refreshLook();
}

} // namespace linkette
