#pragma once

#include <utility>

#include "core/platform/PanelHost.h"

namespace quillbern {

// A simulated panel view: what its feature asked the view factory to show, kept for the
// test to read (SimPanelState::shown).
template <class Content>
class SimContentView final : public PanelView {
public:
    explicit SimContentView(Content content) : content(std::move(content)) {}

    Content content;
};

}  // namespace quillbern
