#include "core/model/HotKeyAction.h"

std::size_t std::hash<quillbern::HotKeyAction>::operator()(const quillbern::HotKeyAction& action) const noexcept {
    return std::hash<quillbern::Uuid>{}(action.profileID()) * 31 + static_cast<std::size_t>(action.kind());
}
