#pragma once

#include <optional>

#include "core/platform/LoginService.h"

namespace quillbern {

// A login service with a status the test sets, and scripted answers to registering and
// unregistering: an error or success, and the status each leaves behind.
class SimLoginService final : public LoginService {
public:
    struct Answer {
        std::optional<Error> error{};
        LoginStatus statusAfter;
    };

    LoginStatus status() const override { return status_; }
    Result<void> registerApp() override;
    Result<void> unregisterApp() override;

    void setStatus(LoginStatus status) { status_ = status; }
    void scriptRegister(Answer answer) { registerAnswer_ = std::move(answer); }
    void scriptUnregister(Answer answer) { unregisterAnswer_ = std::move(answer); }

    int registrations() const { return registrations_; }
    int unregistrations() const { return unregistrations_; }

private:
    Result<void> answer(const Answer& answer);

    LoginStatus status_ = LoginStatus::notRegistered;
    Answer registerAnswer_{std::nullopt, LoginStatus::enabled};
    Answer unregisterAnswer_{std::nullopt, LoginStatus::notRegistered};
    int registrations_ = 0;
    int unregistrations_ = 0;
};

}  // namespace quillbern
