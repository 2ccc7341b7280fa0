#include "ui/foundation/PanelViews.h"

#include "ui/dock/KnockGlintView.h"
#include "ui/dock/LaunchBeaconView.h"
#include "ui/palettes/QtPaletteViewFactory.h"
#include "ui/tiles/DockView.h"
#include "ui/windows/PreviewCardView.h"
#include "ui/workspace/VeilPanel.h"
#include "ui/workspace/WorkspacePreviewView.h"

namespace quillbern {

namespace {

template <class... Fn>
struct Overloaded : Fn... {
    using Fn::operator()...;
};
// Clang 14 does not deduce an aggregate's arguments by itself.
template <class... Fn>
Overloaded(Fn...) -> Overloaded<Fn...>;

}  // namespace

QWidget* makeContentView(const PanelContent& content, QWidget* parent) {
    return std::visit(
        Overloaded{
            [](const PlainFill&) -> QWidget* { return nullptr; },
            [parent](const DockContent& dock) -> QWidget* { return new DockView(dock, parent); },
            [parent](const BeaconContent& beacon) -> QWidget* { return new LaunchBeaconView(beacon, parent); },
            [parent](const PaletteContent& palette) -> QWidget* {
                // Built and measured before the panel opened: the panel takes it over.
                QWidget* view = palette.view ? paletteWidget(*palette.view) : nullptr;
                if (view) view->setParent(parent);
                return view;
            },
            [parent](const VeilContent& veil) -> QWidget* { return new VeilPanel(veil, parent); },
            [parent](const GlintContent& glint) -> QWidget* { return new KnockGlintView(glint, parent); },
            [parent](const PreviewContent& preview) -> QWidget* { return new PreviewCardView(preview, parent); },
            [parent](const PlacementContent& placement) -> QWidget* {
                return new WorkspacePreviewView(placement, parent);
            },
        },
        content);
}

}  // namespace quillbern
