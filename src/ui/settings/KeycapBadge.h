#pragma once

#include <QLabel>

namespace quillbern {

// A shortcut's whole text on one keycap: monospaced, on the thick material with a darker
// lower edge. The text is shown as given, never translated or split into keys.
class KeycapBadge final : public QLabel {
public:
    explicit KeycapBadge(const QString& chord, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace quillbern
