#include "ui/shell/WalkthroughView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"

namespace quillbern {

namespace {

constexpr int kWidth = 460;
constexpr int kMinimumHeight = 380;
constexpr int kSymbolSize = 40;
const QColor kErrorColour(0xc0, 0x1c, 0x28);

// Four dots, the current step's in the accent colour.
class PageDots final : public QWidget {
public:
    explicit PageDots(const Walkthrough& walkthrough) : walkthrough_(walkthrough) {
        setFixedSize(Walkthrough::kStepCount * kDot + (Walkthrough::kStepCount - 1) * kGap, kDot);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        QColor other = palette().color(QPalette::WindowText);
        other.setAlphaF(0.3);
        for (int i = 0; i < Walkthrough::kStepCount; ++i) {
            painter.setBrush(i == int(walkthrough_.step()) ? palette().color(QPalette::Highlight) : other);
            painter.drawEllipse(QRectF(i * (kDot + kGap), 0, kDot, kDot));
        }
    }

private:
    static constexpr int kDot = 7;
    static constexpr int kGap = 6;
    const Walkthrough& walkthrough_;
};

QLabel* title(const QString& text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setWeight(kHeadingWeight);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

// Centred, wrapped text; `margin` on the left and right, `secondary` in the subdued colour,
// `caption` smaller.
QLabel* paragraph(const QString& text, int margin, bool secondary, bool caption = false) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::MarkdownText);
    // Screen readers read the words, not the markup.
    QTextDocument words;
    words.setMarkdown(label->text());
    label->setAccessibleName(words.toPlainText());
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter);
    label->setContentsMargins(margin, 0, margin, 0);
    if (caption) {
        QFont font = label->font();
        font.setPointSizeF(font.pointSizeF() * 0.92);
        label->setFont(font);
    }
    if (secondary) label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QVBoxLayout* stepLayout(QWidget* step, int spacing) {
    auto* layout = new QVBoxLayout(step);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

}  // namespace

// A symbol beside a text, both in one colour: the notices of the steps.
class WalkthroughNotice final : public QWidget {
public:
    WalkthroughNotice(std::string_view symbol, const QColor& colour) : text_(new QLabel) {
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(24, 0, 24, 0);
        layout->setSpacing(6);
        layout->addStretch(1);
        auto* icon = new QLabel;
        showIconIn(*icon, symbolIcon(symbol, colour, kNoticeSymbolSize, devicePixelRatioF()), kNoticeSymbolSize);
        layout->addWidget(icon, 0, Qt::AlignTop);
        text_->setWordWrap(true);
        text_->setAlignment(Qt::AlignHCenter);
        QPalette colours = text_->palette();
        colours.setColor(QPalette::WindowText, colour);
        text_->setPalette(colours);
        layout->addWidget(text_);
        layout->addStretch(1);
    }
    void setText(const QString& text) {
        text_->setText(text);
        // Wide enough for a short text on one line; a long one wraps.
        text_->setMinimumWidth(std::min(text_->fontMetrics().horizontalAdvance(text) + 2, kWidestLine));
    }

private:
    static constexpr int kNoticeSymbolSize = 14;
    static constexpr int kWidestLine = 360;
    QLabel* text_;
};

WalkthroughView::WalkthroughView(Walkthrough& walkthrough, QWidget* parent)
    : QWidget(parent), walkthrough_(walkthrough) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 28, 0, 0);
    layout->setSpacing(20);
    symbol_ = new QLabel;
    symbol_->setAlignment(Qt::AlignHCenter);
    symbol_->setAccessibleName({});
    layout->addWidget(symbol_);
    steps_ = new QStackedWidget;
    steps_->addWidget(welcomeStep());
    steps_->addWidget(windowAccessStep());
    steps_->addWidget(previewsStep());
    steps_->addWidget(comfortStep());
    layout->addWidget(steps_);
    layout->addStretch(1);
    layout->addWidget(navigationRow());
    setFixedWidth(kWidth);
    setMinimumHeight(kMinimumHeight);

    // Escape finishes, on every step, as Finish does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { walkthrough_.exit(); });
    // The window is no dialog, so its default button would take Return only while focused.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* press = new QShortcut(QKeySequence(key), this);
        connect(press, &QShortcut::activated, this, [this] { walkthrough_.pressReturn(); });
    }

    changed_ = walkthrough_.changed.connect([this] { sync(); });
    sync();
}

QWidget* WalkthroughView::welcomeStep() {
    auto* step = new QWidget;
    QVBoxLayout* layout = stepLayout(step, 12);
    layout->addWidget(title(localized("Welcome to Quillbern")));
    auto* text = paragraph(
        localized(
            // TRANSLATORS: the walkthrough's texts are Markdown: **…** is bold.
            "**Quillbern gives every screen its own dock** — your apps, your folders, where you want them, on as many "
            "docks as you like."),
        24, false);
    layout->addWidget(text);
    return step;
}

QWidget* WalkthroughView::windowAccessStep() {
    auto* step = new QWidget;
    QVBoxLayout* layout = stepLayout(step, 12);
    layout->addWidget(title(localized("Window access")));
    layout->addWidget(
        paragraph(localized("To show and activate your windows, Quillbern needs **window access**, granted while a "
                            "window manager that follows EWMH runs. Everything runs on your computer: nothing is sent "
                            "anywhere, no telemetry."),
                  24, true));
    granted_ = new WalkthroughNotice("checkmark.circle.fill", QColor(0x2e, 0xa0, 0x43));
    granted_->setText(localized("Permission granted — your dock is live"));
    layout->addSpacing(8);
    layout->addWidget(granted_);

    grantHelp_ = new QWidget;
    QVBoxLayout* help = stepLayout(grantHelp_, 12);
    allowAccess_ = new QPushButton(localized("Check Window Access"));
    connect(allowAccess_, &QPushButton::clicked, this, [this] { walkthrough_.allowWindowAccess(); });
    help->addWidget(allowAccess_, 0, Qt::AlignHCenter);
    help->addWidget(
        paragraph(localized("No window manager that follows EWMH answers. Start one (most do), then check again."), 32,
                  true, true));
    help->addWidget(paragraph(
        localized("Tip: once your docks are running, drag an app from your file manager onto one to pin it — that "
                  "works even without this permission."),
        32, true, true));
    layout->addWidget(grantHelp_);
    return step;
}

QWidget* WalkthroughView::previewsStep() {
    auto* step = new QWidget;
    QVBoxLayout* layout = stepLayout(step, 12);
    layout->addWidget(title(localized("Hover previews")));
    layout->addWidget(
        paragraph(localized("When you hover a tile, Quillbern can show a preview of the window. It is **optional** "
                            "— it reads the pictures of your windows only for these thumbnails, never saved or "
                            "transmitted."),
                  24, true));
    previews_ = new QCheckBox(localized("Enable previews"));
    connect(previews_, &QCheckBox::clicked, this, [this](bool on) {
        walkthrough_.setPreviewsEnabled(on);
        sync();
    });
    layout->addSpacing(8);
    layout->addWidget(previews_, 0, Qt::AlignHCenter);

    captureHelp_ = new QWidget;
    QVBoxLayout* help = stepLayout(captureHelp_, 6);
    help->addWidget(paragraph(localized("Previews will turn on as soon as Quillbern may read the pictures of windows."),
                              0, true, true));
    auto* allow = new QPushButton(localized("Allow Window Pictures…"));
    connect(allow, &QPushButton::clicked, this, [this] { walkthrough_.allowScreenCapture(); });
    help->addWidget(allow, 0, Qt::AlignHCenter);
    layout->addWidget(captureHelp_);
    return step;
}

QWidget* WalkthroughView::comfortStep() {
    auto* step = new QWidget;
    QVBoxLayout* layout = stepLayout(step, 14);
    layout->addWidget(title(localized("Comfort")));
    login_ = new QCheckBox(localized("Open Quillbern at login"));
    connect(login_, &QCheckBox::clicked, this, [this](bool on) {
        walkthrough_.setOpensAtLogin(on);
        sync();
    });
    layout->addWidget(login_, 0, Qt::AlignHCenter);
    loginApproval_ = new WalkthroughNotice("exclamationmark.triangle", QColor(0xd9, 0x7a, 0x00));
    loginApproval_->setText(localized("Approve it in the desktop's startup applications"));
    layout->addWidget(loginApproval_);
    loginError_ = new WalkthroughNotice("xmark.octagon", kErrorColour);
    layout->addWidget(loginError_);
    hideDock_ = new QCheckBox(localized("Hide the desktop's dock"));
    connect(hideDock_, &QCheckBox::clicked, this, [this](bool on) {
        walkthrough_.setHidesDesktopDock(on);
        sync();
    });
    layout->addWidget(hideDock_, 0, Qt::AlignHCenter);
    hideError_ = new WalkthroughNotice("xmark.octagon", kErrorColour);
    layout->addWidget(hideError_);
    layout->addWidget(
        paragraph(localized("Hiding uses the dock's own auto-hide; your original settings are saved and restored "
                            "when Quillbern quits (or at next launch). Everything can be changed later in Settings."),
                  28, true, true));
    return step;
}

QWidget* WalkthroughView::navigationRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(20, 20, 20, 20);
    previous_ = new QPushButton(localized("Previous"));
    previous_->setAutoDefault(false);
    // Hidden on the first step, it still holds its place, so the dots stay centred.
    QSizePolicy keepsPlace = previous_->sizePolicy();
    keepsPlace.setRetainSizeWhenHidden(true);
    previous_->setSizePolicy(keepsPlace);
    connect(previous_, &QPushButton::clicked, this, [this] { walkthrough_.previous(); });
    layout->addWidget(previous_);
    layout->addStretch(1);
    dots_ = new PageDots(walkthrough_);
    layout->addWidget(dots_);
    layout->addStretch(1);
    forward_ = new QPushButton;
    connect(forward_, &QPushButton::clicked, this, [this] { walkthrough_.pressForward(); });
    layout->addWidget(forward_);
    return row;
}

void WalkthroughView::sync() {
    const QColor accent = palette().color(QPalette::Highlight);
    showIconIn(*symbol_, symbolIcon(walkthrough_.stepSymbol(), accent, kSymbolSize, devicePixelRatioF()), kSymbolSize);
    steps_->setCurrentIndex(int(walkthrough_.step()));

    const bool trusted = walkthrough_.hasWindowAccess();
    granted_->setVisible(trusted);
    grantHelp_->setVisible(!trusted);

    previews_->setChecked(walkthrough_.previewsEnabled());
    captureHelp_->setVisible(walkthrough_.showsCaptureHelp());

    login_->setChecked(walkthrough_.opensAtLogin());
    loginApproval_->setVisible(walkthrough_.loginNeedsApproval());
    const std::optional<std::string>& loginError = walkthrough_.loginError();
    loginError_->setVisible(loginError.has_value());
    if (loginError) loginError_->setText(QString::fromStdString(*loginError));
    hideDock_->setChecked(walkthrough_.hidesDesktopDock());
    const std::optional<std::string>& hideError = walkthrough_.hideError();
    hideError_->setVisible(hideError.has_value());
    if (hideError) hideError_->setText(QString::fromStdString(*hideError));

    previous_->setVisible(walkthrough_.showsPrevious());
    dots_->update();
    forward_->setText(QString::fromStdString(walkthrough_.forwardTitle()));
    // Return presses the forward button, except while the step's own button takes it.
    const bool accessButtonTakesReturn = walkthrough_.step() == Walkthrough::Step::windowAccess && !trusted;
    forward_->setDefault(walkthrough_.forwardTakesReturn());
    forward_->setAutoDefault(walkthrough_.forwardTakesReturn());
    allowAccess_->setDefault(accessButtonTakesReturn);
    allowAccess_->setAutoDefault(accessButtonTakesReturn);
}

}  // namespace quillbern
