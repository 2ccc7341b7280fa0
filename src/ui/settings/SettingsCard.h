#pragma once

#include <QString>
#include <QWidget>
#include <string_view>

class QLabel;
class QPainter;
class QVBoxLayout;

namespace quillbern {

class SettingsCaption;
class SettingsRow;

// A card of a Settings page: an optional heading, then a body on a thin material with a
// soft shadow, holding rows separated by dividers, each caption under the row it explains.
// Without a title the body starts at the card's top.
class SettingsCard final : public QWidget {
public:
    explicit SettingsCard(const QString& title = {}, QWidget* parent = nullptr);

    SettingsRow* addRow(SettingsRow* row);
    void addDivider();
    SettingsCaption* addCaption(const QString& text);
    // Anything else the body holds, such as a note or a list; handed back as it came.
    template <class Widget>
    Widget* addWidget(Widget* widget) {
        addToBody(widget);
        return widget;
    }

    QWidget& body() const { return *body_; }
    // Null without a title.
    QLabel* title() const { return title_; }

    // Paints the shadow the body casts around `bodyRect`, in the painter's coordinates.
    void paintShadow(QPainter& painter, const QRect& bodyRect) const;

private:
    void addToBody(QWidget* widget);

    QLabel* title_ = nullptr;
    QWidget* body_;
    QVBoxLayout* bodyLayout_;
};

}  // namespace quillbern
