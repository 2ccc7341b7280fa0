#include "ui/palettes/AppSearchView.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVariantAnimation>
#include <cmath>

#include "core/foundation/Localization.h"
#include "core/palettes/PaletteKeys.h"
#include "core/platform/SystemAppearance.h"
#include "core/shortcuts/ChordText.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/model/BarBackground.h"
#include "ui/palettes/PaletteField.h"
#include "ui/palettes/PaletteSlabView.h"
#include "ui/palettes/PaletteText.h"
#include "ui/palettes/SymbolMark.h"

namespace quillbern {

namespace {

constexpr int kContentWidth = 560;
constexpr int kFieldRowHeight = 64;
constexpr int kFieldSide = 18;
constexpr int kRowHeight = 44;
constexpr int kRowSpacing = 2;
constexpr int kRowsPadding = 8;
constexpr int kIconSide = 32;
constexpr double kHighlightRadius = 10;
constexpr int kSlideMs = 120;

QColor highlight(const QWidget& widget, double opacity) {
    QColor fill = widget.palette().color(QPalette::WindowText);
    fill.setAlphaF(float(opacity));
    return fill;
}

QToolButton* symbolButton(std::string_view symbol, int side, const QString& help, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(symbolIcon(symbol, secondaryColour(parent->palette()), side, parent->devicePixelRatioF()));
    button->setIconSize(QSize(side, side));
    button->setToolTip(help);
    button->setAccessibleName(help);
    button->setCursor(Qt::ArrowCursor);
    button->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; padding: 0; }"));
    return button;
}

// One result: icon and name, the pin badge, and the pin button while highlighted or hovered.
class ResultRow final : public QWidget {
public:
    ResultRow(const InstalledApp& app, const QIcon& icon, const std::string& badge, std::function<void()> open,
              std::function<void()> pinMenu, QWidget* parent)
        : QWidget(parent), icon_(icon), name_(QString::fromStdString(app.name)), open_(std::move(open)) {
        setObjectName(QStringLiteral("row"));
        setFixedHeight(kRowHeight);
        setMouseTracking(true);
        setAccessibleName(name_);
        auto* trailing = new QHBoxLayout(this);
        trailing->setContentsMargins(0, 0, 12, 0);
        trailing->setSpacing(8);
        trailing->addStretch();
        if (!badge.empty()) {
            auto* mark = new SymbolMark("pin.fill", 10, this);
            mark->setObjectName(QStringLiteral("badge"));
            mark->setToolTip(QString::fromStdString(badge));
            trailing->addWidget(mark);
        }
        pinButton_ = symbolButton("plus.circle.fill", 16, localized("Pin to a dock"), this);
        pinButton_->setObjectName(QStringLiteral("pinButton"));
        QObject::connect(pinButton_, &QToolButton::clicked, this, [run = std::move(pinMenu)] { run(); });
        // Its room is kept while hidden, so the badge does not jump.
        QSizePolicy kept = pinButton_->sizePolicy();
        kept.setRetainSizeWhenHidden(true);
        pinButton_->setSizePolicy(kept);
        trailing->addWidget(pinButton_);
    }

    void setSelected(bool selected) {
        selected_ = selected;
        refresh();
    }
    bool isPinButtonShown() const { return pinButton_->isVisibleTo(this); }

protected:
    void enterEvent(QEnterEvent*) override {
        hovering_ = true;
        refresh();
    }
    void leaveEvent(QEvent*) override {
        hovering_ = false;
        refresh();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) open_();
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        // The selected row's highlight is the list's, sliding between rows.
        if (hovering_ && !selected_) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(highlight(*this, 0.06));
            painter.drawRoundedRect(QRectF(rect()), kHighlightRadius, kHighlightRadius);
        }
        const QRect iconBox(10, (height() - kIconSide) / 2, kIconSide, kIconSide);
        icon_.paint(&painter, iconBox);
        painter.setFont(fontOfSize(14));
        painter.setPen(palette().color(QPalette::WindowText));
        const int textLeft = iconBox.right() + 1 + 10;
        const QRect textBox(textLeft, 0, width() - textLeft - 44 - 8, height());
        painter.drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft,
                         painter.fontMetrics().elidedText(name_, Qt::ElideRight, textBox.width()));
    }

private:
    void refresh() {
        pinButton_->setVisible(selected_ || hovering_);
        update();
    }

    QIcon icon_;
    QString name_;
    std::function<void()> open_;
    QToolButton* pinButton_ = nullptr;
    bool selected_ = false;
    bool hovering_ = false;
};

}  // namespace

// The result rows, with the highlight behind the selected one, sliding when it moves.
class AppSearchView::Rows final : public QWidget {
public:
    explicit Rows(QWidget* parent) : QWidget(parent), slide_(new QVariantAnimation(this)) {
        setObjectName(QStringLiteral("results"));
        layout_ = new QVBoxLayout(this);
        layout_->setContentsMargins(kRowsPadding, kRowsPadding, kRowsPadding, kRowsPadding);
        layout_->setSpacing(kRowSpacing);
        slide_->setDuration(kSlideMs);
        slide_->setEasingCurve(QEasingCurve::OutCubic);
        connect(slide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& y) {
            highlightY_ = y.toDouble();
            update();
        });
    }

    // Rebuilt only when the results change; the selection alone slides.
    void present(AppSearchState& state, const AppSearchViewInputs& inputs) {
        const std::vector<InstalledApp> results = state.results();
        std::vector<AppId> ids;
        for (const InstalledApp& app : results)
            ids.push_back(app.appId);
        std::vector<std::string> badges;
        for (const InstalledApp& app : results)
            badges.push_back(state.badgeText(app));
        if (ids != ids_ || badges != badges_) {
            for (ResultRow* row : rows_)
                delete row;
            rows_.clear();
            for (std::size_t i = 0; i < results.size(); ++i) {
                const InstalledApp& app = results[i];
                auto* row = new ResultRow(
                    app, qIcon(state.icon(app)), badges[i], [open = inputs.open, app] { open(app); },
                    [pinMenu = inputs.pinMenu, app] { pinMenu(app); }, this);
                layout_->addWidget(row);
                rows_.push_back(row);
            }
            ids_ = std::move(ids);
            badges_ = std::move(badges);
            selected_ = -1;
        }
        const std::optional<InstalledApp> chosen = state.selectedApp();
        int selected = -1;
        for (std::size_t i = 0; chosen && i < ids_.size(); ++i) {
            if (ids_[i] == chosen->appId) selected = int(i);
        }
        for (std::size_t i = 0; i < rows_.size(); ++i)
            rows_[i]->setSelected(int(i) == selected);
        const double target = kRowsPadding + selected * (kRowHeight + kRowSpacing);
        if (selected_ >= 0 && selected >= 0 && selected != selected_) {
            slide_->stop();
            slide_->setStartValue(highlightY_);
            slide_->setEndValue(target);
            slide_->start();
        } else if (selected != selected_) {
            slide_->stop();
            highlightY_ = target;
        }
        selected_ = selected;
        update();
    }

    const std::vector<ResultRow*>& rows() const { return rows_; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (selected_ < 0) return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(highlight(*this, 0.14));
        painter.drawRoundedRect(QRectF(kRowsPadding, highlightY_, width() - 2 * kRowsPadding, kRowHeight),
                                kHighlightRadius, kHighlightRadius);
    }

private:
    QVBoxLayout* layout_ = nullptr;
    QVariantAnimation* slide_ = nullptr;
    std::vector<ResultRow*> rows_;
    std::vector<AppId> ids_;
    std::vector<std::string> badges_;
    int selected_ = -1;
    double highlightY_ = 0;
};

AppSearchView::AppSearchView(AppSearchViewInputs inputs, SystemAppearance& system, QWidget* parent)
    : PaletteSlabView(system, parent), inputs_(std::move(inputs)) {
    QVBoxLayout* stack = content();

    auto* fieldRow = new QWidget(this);
    fieldRow->setFixedHeight(kFieldRowHeight);
    auto* fieldLayout = new QHBoxLayout(fieldRow);
    fieldLayout->setContentsMargins(kFieldSide, 0, kFieldSide, 0);
    fieldLayout->setSpacing(10);
    fieldLayout->addWidget(new SymbolMark("magnifyingglass", 16, fieldRow));
    field_ = new PaletteField(fieldRow);
    field_->setObjectName(QStringLiteral("field"));
    field_->setPlaceholder(localized("Search for an app").toStdString());
    fieldLayout->addWidget(field_, 1);
    // TRANSLATORS: a button that empties the search field.
    clear_ = symbolButton("xmark.circle.fill", 14, localized("Clear"), fieldRow);
    clear_->setObjectName(QStringLiteral("clear"));
    fieldLayout->addWidget(clear_);
    stack->addWidget(fieldRow);

    divider_ = new QWidget(this);
    divider_->setFixedHeight(1);
    divider_->setAutoFillBackground(true);
    QPalette line = divider_->palette();
    line.setColor(QPalette::Window, highlight(*this, 0.12));
    divider_->setPalette(line);
    stack->addWidget(divider_);

    const std::string hint = trf(
        // TRANSLATORS: the first %@ is the Enter key, the second the keys Ctrl+Enter, both named
        // as shortcuts name them.
        "%@ opens the app · %@ pins it to a dock", ChordText::ofNamedKeys({.keyCode = kReturnKey}),
        ChordText::ofNamedKeys({.keyCode = kReturnKey, .modifiers = HotKeyChord::kControl}));
    hint_ = new QLabel(QString::fromStdString(hint), this);
    hint_->setObjectName(QStringLiteral("hint"));
    hint_->setFont(fontOfSize(11));
    hint_->setAlignment(Qt::AlignCenter);
    hint_->setContentsMargins(0, 10, 0, 10);
    makeSecondary(*hint_);
    stack->addWidget(hint_);

    noMatch_ = new QLabel(this);
    noMatch_->setObjectName(QStringLiteral("noMatch"));
    noMatch_->setTextFormat(Qt::PlainText);
    noMatch_->setFont(fontOfSize(13));
    noMatch_->setAlignment(Qt::AlignCenter);
    // A label works out its margins again as it is polished, from the size it has then, and
    // drops those taller than a label not yet laid out: polished first, it keeps them.
    noMatch_->ensurePolished();
    noMatch_->setContentsMargins(0, 16, 0, 16);
    stack->addWidget(noMatch_);

    rows_ = new Rows(this);
    stack->addWidget(rows_);

    AppSearchState& state = *inputs_.state;
    field_->onEdit = [&state](const std::string& text) { state.setQuery(text); };
    field_->onMove = [&state](int step) { state.move(step); };
    field_->onReturn = [this] {
        if (std::optional<InstalledApp> app = inputs_.state->selectedApp()) inputs_.open(*app);
    };
    field_->onEscape = [&state] { state.setQuery(""); };
    connect(clear_, &QToolButton::clicked, this, [&state] { state.setQuery(""); });

    stateObserver_ = state.changed.connect([this] { refresh(); });
    refresh();
}

void AppSearchView::refresh() {
    AppSearchState& state = *inputs_.state;
    field_->setQuery(state.query());
    clear_->setVisible(state.showsClearButton());
    const AppSearchState::Content content = state.content();
    hint_->setVisible(content == AppSearchState::Content::hint);
    noMatch_->setVisible(content == AppSearchState::Content::noMatch);
    if (content == AppSearchState::Content::noMatch) noMatch_->setText(QString::fromStdString(state.noMatchText()));
    rows_->setVisible(content == AppSearchState::Content::results);
    rows_->present(state, inputs_);
    if (layout()) layout()->activate();
    update();
}

QSize AppSearchView::sizeHint() const {
    return {kContentWidth + 2 * kPaletteSlabInset, layout()->sizeHint().height()};
}

}  // namespace quillbern
