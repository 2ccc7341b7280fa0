#include "sim/SimLoginService.h"

namespace quillbern {

Result<void> SimLoginService::registerApp() {
    ++registrations_;
    return answer(registerAnswer_);
}

Result<void> SimLoginService::unregisterApp() {
    ++unregistrations_;
    return answer(unregisterAnswer_);
}

Result<void> SimLoginService::answer(const Answer& answer) {
    status_ = answer.statusAfter;
    if (answer.error) return *answer.error;
    return {};
}

}  // namespace quillbern
