#pragma once

#include <QLabel>

namespace quillbern {

// A shortcut's whole text on one keycap: monospaced, on the thick material with a darker
// lower edge. The text is shown as given, never translated or split into keys.
class KeycapBadge final : public QLabel {
public:
    explicit KeycapBadge(const QString& chord, QWidget* parent = nullptr);

    // As a recorder shows a chord the system did not register: struck through in red, and
    // told so to assistive tools and in its tooltip.
    void setStruckThrough(bool struck, const QString& description);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor plain_;
};

}  // namespace quillbern
