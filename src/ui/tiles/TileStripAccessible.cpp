#include "ui/tiles/TileStripAccessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <map>
#include <string>

#include "ui/tiles/TileStrip.h"

namespace quillbern {

namespace {

// One tile, found again by its key on every question: the cells change in place.
class TileAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TileAccessible(TileStrip* strip, std::string key) : strip_(strip), key_(std::move(key)) {}

    bool isValid() const override { return index().has_value(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return strip_ ? strip_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(strip_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Button; }

    QString text(QAccessible::Text kind) const override {
        const TileContent* content = this->content();
        if (!content) return {};
        switch (kind) {
            case QAccessible::Name:
                return content->accessibleName;
            case QAccessible::Value:
                return content->accessibleValue;
            case QAccessible::Description:
                return content->toolTip;
            default:
                return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        const auto cell = index();
        if (!cell) return {};
        const QRect local = strip_->tileFrames()[*cell].toAlignedRect();
        return QRect(strip_->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = !strip_ || !strip_->isVisible();
        state.hotTracked = strip_ && strip_->hoveredCell() == index();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override {
        QStringList names;
        const TileContent* content = this->content();
        if (content && content->activate) names << pressAction();
        if (content && content->menu) names << showMenuAction();
        return names;
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    void doAction(const QString& name) override {
        const auto cell = index();
        if (!cell) return;
        const TileContent& content = strip_->cells()[*cell]->content();
        if (name == pressAction() && content.activate) {
            const Task activate = content.activate;
            activate();
        } else if (name == showMenuAction() && content.menu && strip_->onMenuRequest) {
            strip_->onMenuRequest(*cell, rect().center());
        }
    }

private:
    std::optional<std::size_t> index() const {
        if (!strip_) return std::nullopt;
        const auto& cells = strip_->cells();
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (cells[i]->key() == key_) return i;
        }
        return std::nullopt;
    }
    const TileContent* content() const {
        const auto cell = index();
        return cell ? &strip_->cells()[*cell]->content() : nullptr;
    }

    QPointer<TileStrip> strip_;
    std::string key_;
};

class StripAccessible final : public QAccessibleWidget {
public:
    explicit StripAccessible(TileStrip* strip) : QAccessibleWidget(strip, QAccessible::List) {}
    ~StripAccessible() override {
        for (const auto& [key, id] : tiles_)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return static_cast<int>(strip()->cells().size()); }

    QAccessibleInterface* child(int index) const override {
        const auto& cells = strip()->cells();
        if (index < 0 || static_cast<std::size_t>(index) >= cells.size()) return nullptr;
        const std::string& key = cells[static_cast<std::size_t>(index)]->key();
        if (const auto known = tiles_.find(key); known != tiles_.end()) {
            return QAccessible::accessibleInterface(known->second);
        }
        // Tiles that went are forgotten when new ones come, so the table stays as long as the strip.
        std::erase_if(tiles_, [](const auto& entry) {
            QAccessibleInterface* tile = QAccessible::accessibleInterface(entry.second);
            if (tile && tile->isValid()) return false;
            QAccessible::deleteAccessibleInterface(entry.second);
            return true;
        });
        auto* tile = new TileAccessible(strip(), key);
        tiles_.emplace(key, QAccessible::registerAccessibleInterface(tile));
        return tile;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < childCount(); ++i) {
            if (this->child(i) == child) return i;
        }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const std::optional<std::size_t> cell = strip()->cellAt(strip()->mapFromGlobal(QPoint(x, y)));
        return cell ? child(static_cast<int>(*cell)) : nullptr;
    }

private:
    TileStrip* strip() const { return static_cast<TileStrip*>(widget()); }

    // Each tile's interface, made when first asked for and kept while the strip lives.
    mutable std::map<std::string, QAccessible::Id> tiles_;
};

QAccessibleInterface* stripFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(TileStrip::staticMetaObject.className())) return nullptr;
    return new StripAccessible(static_cast<TileStrip*>(object));
}

}  // namespace

void installTileStripAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(stripFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace quillbern
