#include "ide/views/kit/FocusRing.h"

#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/ThemeSource.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

constexpr char placementProperty[] = "orvaneFocusRingPlacement";

// The ring: a widget over the control's window, shaped to the ring itself, so what lies under its
// middle paints and takes the mouse as if it were not there.
class FocusRingFrame final : public QWidget {
public:
    explicit FocusRingFrame(QWidget *window) : QWidget(window)
    {
        setObjectName(u"keyboardFocusRing"_s);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

    void setColor(const QColor &color)
    {
        if (color == m_color)
            return;
        m_color = color;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), m_color);
    }

private:
    QColor m_color;
};

} // namespace

FocusRingController::FocusRingController(QWidget *scope, const ThemeSource &theme)
    : QObject(scope), m_scope(scope), m_theme(&theme)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
    connect(&theme, &ThemeSource::themeChanged, this, &FocusRingController::place);
}

FocusRingController::~FocusRingController()
{
    unfollow();
    delete m_frame;
}

void FocusRingController::setPlacement(QWidget *control, FocusRingPlacement placement)
{
    control->setProperty(placementProperty, int(placement));
}

FocusRingPlacement FocusRingController::placementOf(const QWidget *control)
{
    if (const QVariant placement = control->property(placementProperty); placement.isValid())
        return FocusRingPlacement(placement.toInt());
    if (qobject_cast<const QAbstractButton *>(control))
        return FocusRingPlacement::around;
    if (qobject_cast<const QScrollArea *>(control))
        return FocusRingPlacement::inside;
    return FocusRingPlacement::none;
}

QRect FocusRingController::shownRing() const
{
    return m_frame && m_frame->isVisible() ? m_frame->geometry() : QRect();
}

bool FocusRingController::inScope(const QWidget *widget) const
{
    // Across windows too: a sheet is a window of its own whose parent is the scope's window.
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w == m_scope)
            return true;
    }
    return false;
}

void FocusRingController::focusChanged(QWidget *now)
{
    if (!now || !inScope(now) || !now->window()->testAttribute(Qt::WA_KeyboardFocusChange)
        || placementOf(now) == FocusRingPlacement::none) {
        unfollow();
        return;
    }
    follow(now);
}

void FocusRingController::follow(QWidget *control)
{
    unfollow();
    m_control = control;
    for (QWidget *w = control; w; w = w->parentWidget()) {
        w->installEventFilter(this);
        m_watched.append(w);
        if (w->isWindow())
            break;
    }
    QWidget *window = control->window();
    if (!m_frame || m_frame->parentWidget() != window) {
        delete m_frame;
        m_frame = new FocusRingFrame(window);
    }
    place();
}

void FocusRingController::unfollow()
{
    for (const QPointer<QWidget> &w : std::as_const(m_watched)) {
        if (w)
            w->removeEventFilter(this);
    }
    m_watched.clear();
    m_control = nullptr;
    if (m_frame)
        m_frame->hide();
}

void FocusRingController::place()
{
    auto *frame = static_cast<FocusRingFrame *>(m_frame.data());
    QWidget *control = m_control;
    if (!frame || !control || !m_theme)
        return;
    QWidget *window = frame->parentWidget();
    if (!control->isVisible() || control->window() != window || control->visibleRegion().isEmpty()) {
        frame->hide();
        return;
    }
    constexpr int reach = ringReach;
    QRect ring(control->mapTo(window, QPoint()), control->size());
    if (placementOf(control) == FocusRingPlacement::around)
        ring.adjust(-reach, -reach, reach, reach);

    // The ring is cut where the control is: by a list that scrolls it out of view, and by a parent
    // that cuts it (a column sliding shut). Past a parent's edge the ring may reach as far as it
    // stands out from the control; past a list's edge only where the list hides nothing that way.
    QRect clip = window->rect();
    for (QWidget *w = control->parentWidget(); w && w != window; w = w->parentWidget()) {
        QRect allowed(w->mapTo(window, QPoint()), w->size());
        allowed.adjust(-reach, -reach, reach, reach);
        clip &= allowed;
        auto *area = qobject_cast<QAbstractScrollArea *>(w);
        if (!area || !area->viewport()->isAncestorOf(control))
            continue;
        const QWidget *viewport = area->viewport();
        QRect shown(viewport->mapTo(window, QPoint()), viewport->size());
        if (area->horizontalScrollBar()->maximum() <= 0)
            shown.adjust(-reach, 0, reach, 0);
        if (area->verticalScrollBar()->maximum() <= 0)
            shown.adjust(0, -reach, 0, reach);
        clip &= shown;
    }
    const QRect cut = ring & clip;
    QRegion shape = QRegion(ring).subtracted(QRegion(ring.adjusted(ringWidth, ringWidth, -ringWidth, -ringWidth)));
    shape &= QRegion(cut);
    if (shape.isEmpty()) {
        frame->hide();
        return;
    }
    frame->setGeometry(cut);
    frame->setMask(shape.translated(-cut.topLeft()));
    frame->setColor(focusRingColor(m_theme->theme(), std::nullopt));
    frame->raise();
    frame->show();
}

bool FocusRingController::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
        // Another chain of parents moves the control now.
        if (QWidget *control = m_control)
            follow(control);
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        place();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orvane
