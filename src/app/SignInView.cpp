#include "app/SignInView.h"

#include "app/SignInWidgets.h"
#include "platform/ui/ApplicationFonts.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace orvane {

using namespace Qt::StringLiterals;

namespace {

constexpr int symbolSize = 48;
constexpr int introductionSpacing = 24;
constexpr int entrySpacing = 20;
constexpr int cardPadding = 20;
constexpr int cardSpacing = 16;
constexpr int cardRadius = 6;

QFont weighted(QFont font, QFont::Weight weight)
{
    font.setWeight(weight);
    return font;
}

QFont headingFont(qreal size)
{
    QFont font = weighted(ui::OrvaneSignInType::display(size), QFont::Medium);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -1.5);
    return font;
}

// The code the user compares in the browser: the monospaced face, large and semibold.
QFont userCodeFont()
{
    QFont font = ui::monospacedFont(22);
    font.setWeight(QFont::DemiBold);
    return font;
}

QLabel *plainLabel(const QString &text, const QFont &font, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    return label;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

// A text to select and copy, from the mouse or the keyboard: Tab stops at it and selects it whole,
// the arrow keys with Shift select part of it, and Ctrl+C copies.
class SelectableText final : public QLabel {
public:
    SelectableText(const QFont &font, QWidget *parent) : QLabel(parent)
    {
        setTextFormat(Qt::PlainText);
        setFont(font);
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        // Selectable by the keyboard alone would leave it a stop for clicks only.
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::IBeamCursor);
    }

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        QLabel::focusInEvent(event);
        const Qt::FocusReason reason = event->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
            setSelection(0, int(text().size()));
    }
};

// The rounded card of the pending sign-in: the secondary background inside a 1-pixel border.
class PendingCard final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setBrush(brandColor(Brand::bgSecondary()));
        painter.setPen(QPen(brandColor(Brand::borderPrimary()), 1));
        painter.drawRoundedRect(shape, cardRadius, cardRadius);
    }
};

} // namespace

SignInView::SignInView(SessionStore *session, std::function<void()> onOpenLocalIDE, QWidget *parent)
    : QWidget(parent), m_session(session), m_onOpenLocalIDE(std::move(onOpenLocalIDE)), m_shownState(session->state())
{
    setObjectName(u"signInView"_s);
    setAutoFillBackground(true);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(u"signInScrollArea"_s);
    m_scroll->setAccessibleName(u"Sign in to Orvane"_s);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // No stop of Tab: it would show nothing there. Tab goes from control to control, and the screen
    // scrolls to each.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->viewport()->setAutoFillBackground(false);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scroll);

    m_content = new QWidget;
    m_content->setAutoFillBackground(false);
    m_contentRow = new QHBoxLayout(m_content);
    m_block = new QWidget(m_content);
    m_block->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    // The block grows to its widest first; only then do the two sides share what is left, which
    // centres it.
    m_contentRow->addStretch(0);
    m_contentRow->addWidget(m_block, 1);
    m_contentRow->addStretch(0);

    m_blockLayout = new QVBoxLayout(m_block);
    m_blockLayout->setContentsMargins(0, 0, 0, 0);
    m_topSpace = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding);
    m_bottomSpace = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding);
    m_blockLayout->addItem(m_topSpace);
    auto *symbol = new BrandSymbolView(symbolSize, m_block);
    symbol->setAccessibleName(QString()); // decorative
    m_blockLayout->addWidget(symbol, 0, Qt::AlignLeft);
    m_columns = new QWidget(m_block);
    m_columnsLayout = new QBoxLayout(QBoxLayout::LeftToRight, m_columns);
    m_columnsLayout->setContentsMargins(0, 0, 0, 0);
    m_blockLayout->addWidget(m_columns);
    m_blockLayout->addItem(m_bottomSpace);

    m_introduction = new QWidget(m_columns);
    auto *introductionColumn = new QVBoxLayout(m_introduction);
    introductionColumn->setContentsMargins(0, 0, 0, 0);
    introductionColumn->setSpacing(introductionSpacing);
    buildIntroduction(introductionColumn);
    m_columnsLayout->addWidget(m_introduction);

    m_entry = new QWidget(m_columns);
    auto *entryColumn = new QVBoxLayout(m_entry);
    entryColumn->setContentsMargins(0, 0, 0, 0);
    entryColumn->setSpacing(entrySpacing);
    buildEntry(entryColumn);
    m_columnsLayout->addWidget(m_entry);

    m_scroll->setWidget(m_content);

    // Return is the screen's default action: "Continue to Orvane".
    for (const QKeySequence &key : { QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter) }) {
        auto *shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (m_start->isVisibleTo(this) && m_start->isEnabled())
                m_start->click();
        });
    }

    connect(session, &SessionStore::stateChanged, this, &SignInView::stateChanged);
    connect(session, &SessionStore::lastErrorChanged, this, &SignInView::updateFromSession);
    connect(session, &SessionStore::orphanedKeyNoticeChanged, this, &SignInView::updateFromSession);

    applyColors();
    applyLayout();
    updateFromSession();
}

SignInView::~SignInView() = default;

void SignInView::buildIntroduction(QVBoxLayout *column)
{
    m_heading = plainLabel(u"Your growth.\nUnder your control."_s, headingFont(40), m_introduction);
    m_heading->setObjectName(u"signIn.heading"_s);
    m_heading->setAccessibleName(u"Your growth. Under your control."_s);
    column->addWidget(m_heading);

    column->addWidget(new BrandRule(QSize(48, 2), Brand::accentPrimary(), m_introduction));

    auto *subtitle = new PlainTextBlock(u"Work with your marketing agent.\nKeep every decision in view."_s,
        ui::OrvaneSignInType::body(17), Brand::textSecondary(), 4, Qt::AlignLeft, m_introduction);
    subtitle->setObjectName(u"signIn.subtitle"_s);
    column->addWidget(subtitle);
}

void SignInView::buildEntry(QVBoxLayout *column)
{
    // Signed out (or signed in): the welcome and the two ways on.
    m_welcome = new QWidget(m_entry);
    auto *welcome = new QVBoxLayout(m_welcome);
    welcome->setContentsMargins(0, 0, 0, 0);
    welcome->setSpacing(entrySpacing);
    auto *welcomeText
        = plainLabel(u"Welcome to Orvane"_s, weighted(ui::OrvaneSignInType::body(18), QFont::Medium), m_welcome);
    welcomeText->setObjectName(u"signIn.welcome"_s);
    welcome->addWidget(welcomeText);

    m_start = new EntryButton(u"Continue to Orvane"_s, true, true, m_welcome);
    m_start->setObjectName(u"signIn.start"_s);
    m_start->setAccessibleDescription(u"Opens your browser to securely approve this device."_s);
    m_start->setToolTip(m_start->accessibleDescription());
    connect(m_start, &QAbstractButton::clicked, this, [this] {
        if (m_session)
            m_session->signIn();
    });
    welcome->addWidget(m_start);

    if (m_onOpenLocalIDE) {
        m_localIDE = new EntryButton(u"Open Local Campaign IDE"_s, false, true, m_welcome);
        m_localIDE->setObjectName(u"signIn.localIDE"_s);
        m_localIDE->setAccessibleDescription(u"Opens the local Linux Campaign IDE workspace immediately."_s);
        m_localIDE->setToolTip(m_localIDE->accessibleDescription());
        connect(m_localIDE, &QAbstractButton::clicked, this, [this] { m_onOpenLocalIDE(); });
        welcome->addWidget(m_localIDE);
    }
    column->addWidget(m_welcome);

    // Signing in: the code to compare, and the way back to the browser.
    m_pending = new PendingCard(m_entry);
    m_pending->setObjectName(u"signIn.pending"_s);
    auto *card = new QVBoxLayout(m_pending);
    card->setContentsMargins(cardPadding, cardPadding, cardPadding, cardPadding);
    card->setSpacing(cardSpacing);
    card->addWidget(
        plainLabel(u"Check your browser"_s, weighted(ui::OrvaneSignInType::body(18), QFont::DemiBold), m_pending));
    card->addWidget(new PlainTextBlock(u"Approve this device only if the code matches."_s,
        ui::OrvaneSignInType::body(15), Brand::textSecondary(), 0, Qt::AlignLeft, m_pending));
    m_userCode = new SelectableText(userCodeFont(), m_pending);
    m_userCode->setObjectName(u"signIn.userCode"_s);
    card->addWidget(m_userCode);

    // The address beside the code, to type or paste into a browser (on this device or another)
    // when none opens here. It wraps where an address allows; an unbreakable stretch is cut off on
    // screen rather than widening the card, and is still copied whole.
    m_verificationURL = new SelectableText(ui::OrvaneSignInType::body(14), m_pending);
    m_verificationURL->setObjectName(u"signIn.verificationURL"_s);
    m_verificationURL->setWordWrap(true);
    m_verificationURL->setMinimumWidth(1);
    card->addWidget(m_verificationURL);
    m_browserNotice = new PlainTextBlock(
        u"No browser could be opened here. Open the address above in a browser to approve this device."_s,
        ui::OrvaneSignInType::body(14), Brand::accentRed(), 0, Qt::AlignLeft, m_pending);
    m_browserNotice->setObjectName(u"signIn.browserNotice"_s);
    m_browserNotice->setVisible(false);
    card->addWidget(m_browserNotice);

    auto *waiting = new QHBoxLayout;
    waiting->setSpacing(8);
    auto *spinner = new ActivitySpinner(14, m_pending);
    spinner->setObjectName(u"signIn.progress"_s);
    waiting->addWidget(spinner, 0, Qt::AlignVCenter);
    auto *waitingText = plainLabel(u"Waiting for approval"_s, ui::OrvaneSignInType::caption(), m_pending);
    waiting->addWidget(waitingText, 1, Qt::AlignVCenter);
    card->addLayout(waiting);

    auto *actions = new QVBoxLayout;
    actions->setSpacing(8);
    auto *reopen = new EntryButton(u"Open browser"_s, true, true, m_pending);
    m_reopen = reopen;
    reopen->setObjectName(u"signIn.reopen"_s);
    connect(reopen, &QAbstractButton::clicked, this, &SignInView::openBrowser);
    actions->addWidget(reopen);
    auto *cancel = new EntryButton(u"Cancel"_s, false, false, m_pending);
    cancel->setObjectName(u"signIn.cancel"_s);
    connect(cancel, &QAbstractButton::clicked, this, [this] {
        if (m_session)
            m_session->cancelSignIn();
    });
    actions->addWidget(cancel);
    card->addLayout(actions);
    column->addWidget(m_pending);

    // Notices: the last failure, then a key the service issued that this device does not hold.
    m_error = new PlainTextBlock(
        QString(), ui::OrvaneSignInType::body(14), Brand::accentRed(), 0, Qt::AlignHCenter, m_entry);
    m_error->setObjectName(u"signIn.error"_s);
    column->addWidget(m_error);

    m_notice = new QWidget(m_entry);
    m_notice->setObjectName(u"signIn.orphanedKeyNotice"_s);
    auto *notice = new QVBoxLayout(m_notice);
    notice->setContentsMargins(0, 0, 0, 0);
    notice->setSpacing(8);
    m_noticeText = new PlainTextBlock(
        QString(), ui::OrvaneSignInType::body(14), Brand::textPrimary(), 0, Qt::AlignHCenter, m_notice);
    m_noticeText->setObjectName(u"signIn.orphanedKeyNotice.text"_s);
    notice->addWidget(m_noticeText);
    m_dismiss = new QPushButton(m_notice);
    m_dismiss->setText(u"Dismiss"_s);
    m_dismiss->setObjectName(u"signIn.orphanedKeyNotice.dismiss"_s);
    m_dismiss->setAccessibleName(u"Dismiss sign-in key notice"_s);
    m_dismiss->setMinimumSize(44, 44);
    m_dismiss->setAutoDefault(false);
    connect(m_dismiss, &QAbstractButton::clicked, this, [this] {
        if (m_session)
            m_session->dismissOrphanedKeyNotice();
    });
    notice->addWidget(m_dismiss, 0, Qt::AlignHCenter);
    column->addWidget(m_notice);

    auto *footnote = new PlainTextBlock(u"Sign in securely in your browser, then return to your workspace."_s,
        ui::OrvaneSignInType::caption(), Brand::textSecondary(), 3, Qt::AlignLeft, m_entry);
    footnote->setObjectName(u"signIn.footnote"_s);
    column->addWidget(footnote);
}

void SignInView::stateChanged()
{
    if (!m_session)
        return;
    const SessionStore::State state = m_session->state();
    if (state == m_shownState)
        return;
    m_shownState = state;
    setBrowserFailed(false);
    updateFromSession();
    // Entering a sign-in (or a new code replacing the last one) opens its page once.
    if (state.kind() == SessionStore::State::Kind::signingIn)
        openBrowser();
}

void SignInView::openBrowser()
{
    if (m_session)
        setBrowserFailed(!m_session->openVerificationURL());
}

void SignInView::setBrowserFailed(bool failed)
{
    const bool signingIn = m_session && m_session->state().kind() == SessionStore::State::Kind::signingIn;
    m_browserNotice->setVisible(failed && signingIn);
}

void SignInView::updateFromSession()
{
    if (!m_session)
        return;
    const SessionStore::State &state = m_session->state();
    const bool signingIn = state.kind() == SessionStore::State::Kind::signingIn;
    const bool focusInside = isAncestorOf(QApplication::focusWidget());
    const bool switching = m_pending->isHidden() == signingIn;
    m_welcome->setVisible(!signingIn);
    m_pending->setVisible(signingIn);
    m_userCode->setText(signingIn ? state.userCode() : QString());
    m_userCode->setAccessibleName(signingIn ? state.userCode() : QString());
    // Fully encoded: what a browser is sent, with no look-alike letters in the host.
    const QString address = signingIn ? state.verificationURL().toString(QUrl::FullyEncoded) : QString();
    m_verificationURL->setText(address);
    m_verificationURL->setAccessibleName(signingIn ? u"Verification address "_s + address : QString());
    m_verificationURL->setVisible(signingIn);

    const std::optional<QString> &error = m_session->lastError();
    m_error->setText(error.value_or(QString()));
    m_error->setVisible(error.has_value());
    const std::optional<QString> &notice = m_session->orphanedKeyNotice();
    m_noticeText->setText(notice.value_or(QString()));
    m_notice->setVisible(notice.has_value());

    // Keep the keyboard on the screen's main control when the entry column changes over.
    if (switching && (focusInside || !QApplication::focusWidget())) {
        QWidget *main = signingIn ? m_reopen : m_start;
        if (main && !main->hasFocus() && isVisible())
            main->setFocus(Qt::OtherFocusReason);
    }
}

void SignInView::focusInEvent(QFocusEvent *event)
{
    // The focus given to the screen goes on to its main control. Not by a focus proxy: Tab coming
    // round into the screen would then land on that control, passing over the stops before it.
    QWidget::focusInEvent(event);
    const bool signingIn = m_session && m_session->state().kind() == SessionStore::State::Kind::signingIn;
    if (EntryButton *main = signingIn ? m_reopen : m_start; main && main->isVisibleTo(this))
        main->setFocus(event->reason());
}

void SignInView::setAccessibilityTextSize(bool large)
{
    m_accessibilityTextSize = large;
    applyLayout();
}

void SignInView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    applyLayout();
}

void SignInView::changeEvent(QEvent *event)
{
    // A change of the desktop's appearance reaches the screen as a change of its palette.
    const QEvent::Type type = event->type();
    if ((type == QEvent::PaletteChange || type == QEvent::ApplicationPaletteChange)
        && applicationColorScheme() != m_appliedScheme)
        applyColors();
    QWidget::changeEvent(event);
}

void SignInView::applyLayout()
{
    const SignInLayout layout = SignInLayout::forSize(QSizeF(size()), m_accessibilityTextSize);
    if (m_layoutApplied && layout == m_layout)
        return;
    const bool arrangementChanged = !m_layoutApplied || layout.sideBySide != m_layout.sideBySide;
    m_layout = layout;
    m_layoutApplied = true;

    const int padding = int(layout.padding);
    m_contentRow->setContentsMargins(padding, padding, padding, padding);
    m_block->setMaximumWidth(int(layout.maximumContentWidth));
    m_block->setMinimumHeight(int(layout.minimumContentHeight));
    m_blockLayout->setSpacing(int(layout.symbolSpacing));
    m_heading->setFont(headingFont(layout.displaySize));

    if (arrangementChanged) {
        if (layout.sideBySide) {
            // The symbol on top, the two columns centred in the height below it.
            m_topSpace->changeSize(0, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
            m_bottomSpace->changeSize(0, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
            m_columns->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
            m_blockLayout->setStretchFactor(m_columns, 1);
            m_columnsLayout->setDirection(QBoxLayout::LeftToRight);
            m_columnsLayout->setAlignment(m_introduction, Qt::AlignVCenter);
            m_columnsLayout->setAlignment(m_entry, Qt::AlignVCenter);
            m_columnsLayout->setStretchFactor(m_introduction, 1);
            m_columnsLayout->setStretchFactor(m_entry, 0);
            m_entry->setFixedWidth(int(SignInLayout::entryColumnWidth));
        } else {
            // One column, the whole block centred in the height.
            m_topSpace->changeSize(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding);
            m_bottomSpace->changeSize(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding);
            m_columns->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
            m_blockLayout->setStretchFactor(m_columns, 0);
            m_columnsLayout->setDirection(QBoxLayout::TopToBottom);
            m_columnsLayout->setAlignment(m_introduction, Qt::Alignment());
            m_columnsLayout->setAlignment(m_entry, Qt::Alignment());
            m_columnsLayout->setStretchFactor(m_introduction, 0);
            m_columnsLayout->setStretchFactor(m_entry, 0);
            m_entry->setMinimumWidth(0);
            m_entry->setMaximumWidth(QWIDGETSIZE_MAX);
        }
    }
    m_columnsLayout->setSpacing(int(layout.sideBySide ? layout.columnSpacing : layout.symbolSpacing));
    m_blockLayout->invalidate();
}

void SignInView::applyColors()
{
    m_appliedScheme = applicationColorScheme();
    QPalette background = palette();
    background.setColor(QPalette::Window, brandColor(Brand::bgPrimary()));
    setPalette(background);
    const QColor primary = brandColor(Brand::textPrimary());
    for (QLabel *label : findChildren<QLabel *>())
        setTextColor(label, primary);
    update();
}

} // namespace orvane
