#pragma once

#include <QLabel>
#include <QString>
#include <optional>

#include "core/settings/SettingsControlLooks.h"

namespace quillbern {

// The explanation under a row: smaller, secondary text that wraps, 6 points below the row.
class SettingsCaption final : public QLabel {
public:
    explicit SettingsCaption(const QString& text, QWidget* parent = nullptr);
};

// A note under a row in one of three styles: orange with a warning sign for something the
// user must do, red with a stop sign for a refusal or an error, secondary with an
// information sign otherwise. Hidden while it has no text.
class SettingsNoteLabel final : public QWidget {
public:
    explicit SettingsNoteLabel(QWidget* parent = nullptr);

    void setNote(const std::optional<SettingsNote>& note);
    void setNote(const QString& text, SettingsNoteStyle style);
    QString text() const;
    std::optional<SettingsNoteStyle> style() const { return style_; }

private:
    QLabel* symbol_;
    QLabel* text_;
    std::optional<SettingsNoteStyle> style_;
};

}  // namespace quillbern
