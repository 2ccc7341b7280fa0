#include "core/workspace/WorkspacePreviewHolder.h"

#include <utility>

namespace quillbern {

namespace {

template <class T>
bool assign(T& stored, T value) {
    if (stored == value) return false;
    stored = std::move(value);
    return true;
}

}  // namespace

void WorkspacePreviewHolder::setCellFrames(std::vector<Rect> frames) {
    if (assign(cellFrames_, std::move(frames))) changed.emit();
}

void WorkspacePreviewHolder::setHighlighted(std::optional<std::size_t> index) {
    if (assign(highlighted_, index)) changed.emit();
}

void WorkspacePreviewHolder::setFullNotice(std::optional<std::string> notice) {
    if (assign(fullNotice_, std::move(notice))) changed.emit();
}

}  // namespace quillbern
