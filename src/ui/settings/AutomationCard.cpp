#include "ui/settings/AutomationCard.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/QtText.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsTheme.h"
#include "ui/settings/SymbolButton.h"

namespace quillbern {

namespace {

constexpr int kUrlSize = 11;
constexpr int kCopySymbolSide = 14;
constexpr double kCornerRadius = 6;

// The URL on a faint rounded plate with a hairline edge; the text is cut in the middle
// when the plate is narrower, the whole URL staying its accessible description.
class UrlPlate final : public QLabel {
public:
    UrlPlate() {
        QFont monospaced = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        monospaced.setPixelSize(kUrlSize);
        setFont(monospaced);
        setTextFormat(Qt::PlainText);
        setContentsMargins(8, 5, 8, 5);
        setMinimumWidth(80);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        QPalette colours = palette();
        colours.setColor(QPalette::WindowText, SettingsTheme::tone(SettingsTone::secondary, colours));
        setPalette(colours);
    }
    void setUrl(const QString& url) {
        url_ = url;
        setAccessibleName(url);
        setToolTip(url);
        fit();
    }
    void fit() {
        const int room = contentsRect().width();
        setText(room > 0 ? fontMetrics().elidedText(url_, Qt::ElideMiddle, room) : url_);
    }
    QSize sizeHint() const override {
        const QMargins m = contentsMargins();
        return {fontMetrics().horizontalAdvance(url_) + m.left() + m.right(),
                fontMetrics().height() + m.top() + m.bottom()};
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setBrush(SettingsTheme::primaryAt(palette(), 0.06));
        painter.setPen(QPen(SettingsTheme::separator(palette()), 1));
        painter.drawRoundedRect(shape, kCornerRadius, kCornerRadius);
        painter.end();
        QLabel::paintEvent(event);
    }
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        fit();
    }

private:
    QString url_;
};

}  // namespace

AutomationCard::AutomationCard(Clipboard& clipboard, RunLoop& mainLoop, Uuid profileID, QWidget* parent)
    : QWidget(parent),
      model_(clipboard, mainLoop, profileID),
      url_(new UrlPlate),
      // TRANSLATORS: a button that copies a text to the clipboard.
      copy_(new SymbolButton("doc.on.doc", kCopySymbolSide, localized("Copy"))) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(url_, 1, Qt::AlignVCenter);
    row->addWidget(copy_, 0, Qt::AlignVCenter);
    layout->addLayout(row);
    copy_->setAccessibleName(localized("Copy this dock's automation URL"));
    QObject::connect(copy_, &QAbstractButton::clicked, this, [this] { model_.copy(); });
    auto* caption =
        new SettingsCaption(localized("Open this URL from a launcher, with xdg-open or from a script to show or hide "
                                      "this dock. Replace “toggle” with “show” or “hide”."));
    caption->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(caption);
    changed_ = model_.changed.connect([this] { refresh(); });
    refresh();
}

void AutomationCard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    static_cast<UrlPlate*>(url_)->fit();
}

void AutomationCard::refresh() {
    static_cast<UrlPlate*>(url_)->setUrl(QString::fromStdString(model_.url()));
    const bool copied = model_.showsCopied();
    copy_->setSymbol(copied ? "checkmark" : "doc.on.doc",
                     copied ? QColor(0x34, 0xc7, 0x59) : SettingsTheme::tone(SettingsTone::secondary, palette()));
    // TRANSLATORS: the copy button's text for a moment after it copied.
    copy_->setToolTip(copied ? localized("Copied") : localized("Copy"));
}

}  // namespace quillbern
