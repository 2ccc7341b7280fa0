#include "sim/SimWindowSystem.h"

#include <algorithm>
#include <sstream>

namespace quillbern {

namespace {

std::size_t slot(Attribute attribute) {
    return static_cast<std::size_t>(attribute);
}

const char* attributeName(Attribute attribute) {
    switch (attribute) {
        case Attribute::frontmost:
            return "frontmost";
        case Attribute::focusedWindow:
            return "focusedWindow";
        case Attribute::mainWindow:
            return "mainWindow";
        case Attribute::windows:
            return "windows";
        case Attribute::role:
            return "role";
        case Attribute::minimized:
            return "minimized";
        case Attribute::fullScreen:
            return "fullScreen";
        case Attribute::title:
            return "title";
        case Attribute::position:
            return "position";
        case Attribute::size:
            return "size";
        case Attribute::hidden:
            return "hidden";
        case Attribute::main:
            return "main";
        case Attribute::focused:
            return "focused";
        case Attribute::closeButton:
            return "closeButton";
    }
    return "?";
}

std::string pairText(const char* name, double a, double b) {
    std::ostringstream out;
    out << name << "=(" << a << ", " << b << ')';
    return out.str();
}

}  // namespace

class SimWindowSystem::SimAppObserver final : public AppObserver {
public:
    SimAppObserver(SimWindowSystem& system, std::uint64_t id) : system_(system), id_(id) {}
    ~SimAppObserver() override { system_.observerGone(id_); }

    bool add(ElementRef element, ElementEvent event) override {
        system_.observerAdded(id_, element, event);
        return true;
    }
    void remove(ElementRef element, ElementEvent event) override { system_.observerRemoved(id_, element, event); }

private:
    SimWindowSystem& system_;
    std::uint64_t id_;
};

ElementRef SimWindowSystem::newElement(Pid pid, bool isWindow) {
    const ElementRef ref{nextElement_++};
    Element& element = elements_[ref.value];
    element.pid = pid;
    element.isWindow = isWindow;
    return ref;
}

SimWindowSystem::App& SimWindowSystem::appLocked(Pid pid) {
    auto found = apps_.find(pid);
    if (found == apps_.end()) {
        found = apps_.emplace(pid, App{}).first;
        found->second.element = newElement(pid, false);
        Element& element = elements_[found->second.element.value];
        element.values[slot(Attribute::frontmost)] = false;
        element.values[slot(Attribute::windows)] = std::vector<ElementRef>{};
        element.values[slot(Attribute::hidden)] = false;
    }
    return found->second;
}

ElementRef SimWindowSystem::addApp(Pid pid) {
    std::lock_guard lock(mutex_);
    changedLocked();
    return appLocked(pid).element;
}

ElementRef SimWindowSystem::addWindow(Pid pid, const WindowSpec& spec) {
    std::lock_guard lock(mutex_);
    App& app = appLocked(pid);
    const ElementRef ref = newElement(pid, true);
    Element& window = elements_[ref.value];
    window.values[slot(Attribute::role)] = spec.role;
    window.values[slot(Attribute::title)] = spec.title;
    window.values[slot(Attribute::minimized)] = spec.minimized;
    window.values[slot(Attribute::fullScreen)] = spec.fullScreen;
    window.values[slot(Attribute::position)] = PointTL{spec.frame.x, spec.frame.y};
    window.values[slot(Attribute::size)] = Size{spec.frame.width, spec.frame.height};
    window.idAnswer = Read<WindowId>::of(spec.id);
    if (spec.closable) {
        const ElementRef button = newElement(pid, false);
        elements_[button.value].closes = ref;
        elements_[ref.value].values[slot(Attribute::closeButton)] = button;
    }
    std::get<std::vector<ElementRef>>(elements_[app.element.value].values[slot(Attribute::windows)]).push_back(ref);
    if (spec.onScreen) listed_.push_back({spec.id, 0, spec.frame});
    changedLocked();
    return ref;
}

void SimWindowSystem::removeWindow(ElementRef window) {
    std::lock_guard lock(mutex_);
    removeWindowLocked(window);
}

void SimWindowSystem::removeWindowLocked(ElementRef window) {
    const auto found = elements_.find(window.value);
    if (found == elements_.end()) return;
    if (found->second.idAnswer.hasValue()) eraseListed(found->second.idAnswer.value());
    auto& list = elements_[appLocked(found->second.pid).element.value].values[slot(Attribute::windows)];
    if (auto* windows = std::get_if<std::vector<ElementRef>>(&list)) std::erase(*windows, window);
    elements_.erase(found);
    changedLocked();
}

void SimWindowSystem::set(ElementRef element, Attribute attribute, SimValue value) {
    std::lock_guard lock(mutex_);
    elements_[element.value].values[slot(attribute)] = std::move(value);
    changedLocked();
}

void SimWindowSystem::failReads(ElementRef element, Attribute attribute, int times, ReadFailure kind) {
    std::lock_guard lock(mutex_);
    elements_[element.value].failing[slot(attribute)] = {times, kind};
    changedLocked();
}

void SimWindowSystem::setWindowIdAnswer(ElementRef window, Read<WindowId> answer) {
    std::lock_guard lock(mutex_);
    elements_[window.value].idAnswer = std::move(answer);
    changedLocked();
}

void SimWindowSystem::setUnresponsive(Pid pid, bool unresponsive) {
    std::lock_guard lock(mutex_);
    appLocked(pid).unresponsive = unresponsive;
    changedLocked();
}

void SimWindowSystem::setFrame(ElementRef window, RectTL frame) {
    std::lock_guard lock(mutex_);
    Element& element = elements_[window.value];
    element.values[slot(Attribute::position)] = PointTL{frame.x, frame.y};
    element.values[slot(Attribute::size)] = Size{frame.width, frame.height};
    changedLocked();
    if (!element.idAnswer.hasValue()) return;
    for (ListedWindow& listed : listed_) {
        if (listed.id == element.idAnswer.value()) listed.bounds = frame;
    }
}

void SimWindowSystem::setOnScreen(ElementRef window, bool onScreen) {
    std::lock_guard lock(mutex_);
    changedLocked();
    const Element& element = elements_[window.value];
    if (!element.idAnswer.hasValue()) return;
    const WindowId id = element.idAnswer.value();
    eraseListed(id);
    if (!onScreen) return;
    const auto* position = std::get_if<PointTL>(&element.values[slot(Attribute::position)]);
    const auto* size = std::get_if<Size>(&element.values[slot(Attribute::size)]);
    std::optional<RectTL> bounds;
    if (position && size) bounds = RectTL{position->x, position->y, size->width, size->height};
    listed_.insert(listed_.begin(), ListedWindow{id, 0, bounds});
}

void SimWindowSystem::addListedWindow(ListedWindow window) {
    std::lock_guard lock(mutex_);
    listed_.push_back(window);
    changedLocked();
}

void SimWindowSystem::setListUnreadable(bool unreadable) {
    std::lock_guard lock(mutex_);
    listUnreadable_ = unreadable;
    changedLocked();
}

void SimWindowSystem::eraseListed(WindowId id) {
    std::erase_if(listed_, [id](const ListedWindow& listed) { return listed.id == id; });
}

void SimWindowSystem::setRefusesObserver(Pid pid, bool refuses) {
    std::lock_guard lock(mutex_);
    appLocked(pid).refusesObserver = refuses;
}

void SimWindowSystem::notify(Pid pid, ElementEvent event) {
    std::vector<std::pair<WorkerLoop*, Task>> deliveries;
    {
        std::lock_guard lock(mutex_);
        const ElementRef app = appLocked(pid).element;
        for (const auto& [id, observer] : observers_) {
            if (observer.pid != pid) continue;
            const auto wanted = std::find(observer.added.begin(), observer.added.end(), std::pair{app, event});
            if (wanted == observer.added.end()) continue;
            deliveries.emplace_back(observer.loop, [callback = observer.callback, alive = observer.alive, event, app] {
                if (*alive) (*callback)(event, app);
            });
        }
    }
    for (auto& [loop, task] : deliveries)
        loop->post(std::move(task));
}

void SimWindowSystem::setReportsEveryChange(bool reports) {
    std::lock_guard lock(mutex_);
    reportsEveryChange_ = reports;
}

Subscription SimWindowSystem::watchChanges(WorkerLoop& loop, Task onChange) {
    std::lock_guard lock(mutex_);
    if (!reportsEveryChange_) return {};
    changeWatch_ = ChangeWatch{&loop, std::make_shared<Task>(std::move(onChange))};
    return Subscription([this] {
        std::lock_guard lock(mutex_);
        changeWatch_.reset();
    });
}

void SimWindowSystem::reportChangeOffItsLoop() {
    std::shared_ptr<Task> onChange;
    {
        std::lock_guard lock(mutex_);
        if (changeWatch_) onChange = changeWatch_->onChange;
    }
    if (onChange) (*onChange)();
}

void SimWindowSystem::changedLocked() {
    if (!changeWatch_) return;
    changeWatch_->loop->post([onChange = changeWatch_->onChange] { (*onChange)(); });
}

int SimWindowSystem::observerCount(Pid pid) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(observers_.begin(), observers_.end(),
                                          [pid](const auto& entry) { return entry.second.pid == pid; }));
}

std::vector<ElementEvent> SimWindowSystem::addedEvents(Pid pid) const {
    std::lock_guard lock(mutex_);
    const auto found = apps_.find(pid);
    return found == apps_.end() ? std::vector<ElementEvent>{} : found->second.added;
}

std::vector<ElementEvent> SimWindowSystem::removedEvents(Pid pid) const {
    std::lock_guard lock(mutex_);
    const auto found = apps_.find(pid);
    return found == apps_.end() ? std::vector<ElementEvent>{} : found->second.removed;
}

std::optional<Duration> SimWindowSystem::timeout(ElementRef element) const {
    std::lock_guard lock(mutex_);
    const auto found = elements_.find(element.value);
    return found == elements_.end() ? std::nullopt : found->second.timeout;
}

ElementRef SimWindowSystem::appElement(Pid pid) {
    std::lock_guard lock(mutex_);
    return appLocked(pid).element;
}

ElementRef SimWindowSystem::systemWideElement() {
    std::lock_guard lock(mutex_);
    if (!systemWide_) systemWide_ = newElement(0, false);
    return *systemWide_;
}

void SimWindowSystem::setTimeout(ElementRef element, Duration limit) {
    std::lock_guard lock(mutex_);
    if (const auto found = elements_.find(element.value); found != elements_.end()) found->second.timeout = limit;
}

template <class T>
Read<T> SimWindowSystem::read(ElementRef ref, Attribute attribute) {
    std::lock_guard lock(mutex_);
    applyDueWritesLocked();
    ++readCount_;
    const auto found = elements_.find(ref.value);
    if (found == elements_.end()) return Read<T>::failure();
    Element& element = found->second;
    if (const auto app = apps_.find(element.pid); app != apps_.end() && app->second.unresponsive) {
        return Read<T>::failure();
    }
    Failing& failing = element.failing[slot(attribute)];
    if (failing.remaining != 0) {
        if (failing.remaining > 0) --failing.remaining;
        return Read<T>::failure(failing.kind);
    }
    // A value of another type reads as no value, like a missing one.
    if (const T* value = std::get_if<T>(&element.values[slot(attribute)])) return Read<T>::of(*value);
    return Read<T>::noValue();
}

Read<bool> SimWindowSystem::readBool(ElementRef element, Attribute attribute) {
    return read<bool>(element, attribute);
}

Read<std::string> SimWindowSystem::readString(ElementRef element, Attribute attribute) {
    return read<std::string>(element, attribute);
}

Read<WindowRole> SimWindowSystem::readRole(ElementRef window) {
    return read<WindowRole>(window, Attribute::role);
}

Read<ElementRef> SimWindowSystem::readElement(ElementRef element, Attribute attribute) {
    return read<ElementRef>(element, attribute);
}

Read<std::vector<ElementRef>> SimWindowSystem::readElements(ElementRef element, Attribute attribute) {
    return read<std::vector<ElementRef>>(element, attribute);
}

Read<PointTL> SimWindowSystem::readPosition(ElementRef element) {
    return read<PointTL>(element, Attribute::position);
}

Read<Size> SimWindowSystem::readSize(ElementRef element) {
    return read<Size>(element, Attribute::size);
}

Read<WindowId> SimWindowSystem::windowId(ElementRef window) {
    std::lock_guard lock(mutex_);
    applyDueWritesLocked();
    const auto found = elements_.find(window.value);
    return found == elements_.end() ? Read<WindowId>::failure() : found->second.idAnswer;
}

std::unique_ptr<AppObserver> SimWindowSystem::observe(Pid pid, WorkerLoop& loop,
                                                      std::function<void(ElementEvent, ElementRef)> callback) {
    std::lock_guard lock(mutex_);
    if (appLocked(pid).refusesObserver) return nullptr;
    const std::uint64_t id = nextObserver_++;
    observers_.emplace(id,
                       Observer{pid,
                                &loop,
                                std::make_shared<std::function<void(ElementEvent, ElementRef)>>(std::move(callback)),
                                std::make_shared<std::atomic<bool>>(true),
                                {}});
    return std::make_unique<SimAppObserver>(*this, id);
}

void SimWindowSystem::observerAdded(std::uint64_t id, ElementRef element, ElementEvent event) {
    std::lock_guard lock(mutex_);
    Observer& observer = observers_.at(id);
    observer.added.emplace_back(element, event);
    appLocked(observer.pid).added.push_back(event);
}

void SimWindowSystem::observerRemoved(std::uint64_t id, ElementRef element, ElementEvent event) {
    std::lock_guard lock(mutex_);
    Observer& observer = observers_.at(id);
    std::erase(observer.added, std::pair{element, event});
    appLocked(observer.pid).removed.push_back(event);
}

void SimWindowSystem::observerGone(std::uint64_t id) {
    std::lock_guard lock(mutex_);
    const auto found = observers_.find(id);
    if (found == observers_.end()) return;
    *found->second.alive = false;
    observers_.erase(found);
}

std::optional<std::vector<ListedWindow>> SimWindowSystem::onScreenWindows() const {
    std::lock_guard lock(mutex_);
    // Delayed writes land at their time, whichever question comes first.
    const_cast<SimWindowSystem*>(this)->applyDueWritesLocked();
    if (listUnreadable_) return std::nullopt;
    return listed_;
}

}  // namespace quillbern

namespace quillbern {

void SimWindowSystem::setWriteAnswer(ElementRef element, Attribute attribute, WriteAnswer answer) {
    std::lock_guard lock(mutex_);
    elements_[element.value].writeAnswers[slot(attribute)] = answer;
}

void SimWindowSystem::setWriteDelay(ElementRef element, Attribute attribute, Duration delay) {
    std::lock_guard lock(mutex_);
    elements_[element.value].writeDelays[slot(attribute)] = delay;
}

void SimWindowSystem::setMinimumSize(ElementRef window, Size size) {
    std::lock_guard lock(mutex_);
    elements_[window.value].minimumSize = size;
}

std::vector<SimWindowSystem::Call> SimWindowSystem::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<SimWindowSystem::Call> SimWindowSystem::calls(ElementRef element) const {
    std::lock_guard lock(mutex_);
    std::vector<Call> result;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(result),
                 [element](const Call& call) { return call.element == element; });
    return result;
}

bool SimWindowSystem::writeBool(ElementRef element, Attribute attribute, bool value) {
    return write(element, attribute, value, std::string(attributeName(attribute)) + (value ? "=true" : "=false"));
}

bool SimWindowSystem::writePosition(ElementRef window, PointTL origin) {
    return write(window, Attribute::position, origin, pairText("position", origin.x, origin.y));
}

bool SimWindowSystem::writeSize(ElementRef window, Size size) {
    const std::string what = pairText("size", size.width, size.height);
    {
        std::lock_guard lock(mutex_);
        const auto found = elements_.find(window.value);
        if (found != elements_.end() && found->second.minimumSize) {
            size.width = std::max(size.width, found->second.minimumSize->width);
            size.height = std::max(size.height, found->second.minimumSize->height);
        }
    }
    return write(window, Attribute::size, size, what);
}

bool SimWindowSystem::writeFrame(ElementRef window, RectTL frame) {
    if (!framesAtOnce_) return false;
    // The size first, so the position written lands where asked.
    const bool sized = writeSize(window, frame.size());
    return writePosition(window, frame.origin()) && sized;
}

bool SimWindowSystem::perform(ElementRef element, ElementAction action) {
    std::lock_guard lock(mutex_);
    applyDueWritesLocked();
    calls_.push_back({element, action == ElementAction::raise ? "raise" : "press"});
    const auto found = elements_.find(element.value);
    if (found == elements_.end()) return false;
    if (const auto app = apps_.find(found->second.pid); app != apps_.end() && app->second.unresponsive) return false;
    if (action == ElementAction::press) {
        const std::optional<ElementRef> closes = found->second.closes;
        if (!closes) return false;
        removeWindowLocked(*closes);
    }
    return true;
}

bool SimWindowSystem::write(ElementRef element, Attribute attribute, SimValue value, std::string what) {
    std::lock_guard lock(mutex_);
    applyDueWritesLocked();
    calls_.push_back({element, std::move(what)});
    const auto found = elements_.find(element.value);
    if (found == elements_.end()) return false;
    if (const auto app = apps_.find(found->second.pid); app != apps_.end() && app->second.unresponsive) return false;
    switch (found->second.writeAnswers[slot(attribute)]) {
        case WriteAnswer::refused:
            return false;
        case WriteAnswer::ignored:
            return true;
        case WriteAnswer::applied:
            break;
    }
    const Duration delay = found->second.writeDelays[slot(attribute)];
    if (delay > 0 && clock_) {
        pending_.push_back({clock_->mediaNow().seconds + delay, element, attribute, std::move(value)});
        // The write lands later, and announces itself then.
        if (changeWatch_) {
            changeWatch_->loop
                ->after(delay,
                        [this, onChange = changeWatch_->onChange] {
                            {
                                std::lock_guard lock(mutex_);
                                applyDueWritesLocked();
                            }
                            (*onChange)();
                        })
                .detach();
        }
    } else {
        applyLocked(element, attribute, std::move(value));
    }
    return true;
}

void SimWindowSystem::applyDueWritesLocked() {
    if (!clock_ || pending_.empty()) return;
    const double now = clock_->mediaNow().seconds;
    std::vector<PendingWrite> due;
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->due <= now) {
            due.push_back(std::move(*it));
            it = pending_.erase(it);
        } else {
            ++it;
        }
    }
    for (PendingWrite& write : due) {
        if (elements_.contains(write.element.value))
            applyLocked(write.element, write.attribute, std::move(write.value));
    }
}

void SimWindowSystem::setListedBoundsLocked(const Element& element) {
    if (!element.idAnswer.hasValue()) return;
    const auto* position = std::get_if<PointTL>(&element.values[slot(Attribute::position)]);
    const auto* size = std::get_if<Size>(&element.values[slot(Attribute::size)]);
    if (!position || !size) return;
    for (ListedWindow& listed : listed_) {
        if (listed.id == element.idAnswer.value())
            listed.bounds = RectTL{position->x, position->y, size->width, size->height};
    }
}

void SimWindowSystem::applyLocked(ElementRef ref, Attribute attribute, SimValue value) {
    changedLocked();
    Element& element = elements_[ref.value];
    element.values[slot(attribute)] = value;
    const bool* flag = std::get_if<bool>(&value);
    switch (attribute) {
        case Attribute::position:
        case Attribute::size:
            setListedBoundsLocked(element);
            break;
        case Attribute::minimized:
            if (!flag || !element.idAnswer.hasValue()) break;
            eraseListed(element.idAnswer.value());
            if (!*flag) {
                listed_.insert(listed_.begin(), ListedWindow{element.idAnswer.value(), 0, std::nullopt});
                setListedBoundsLocked(element);
            }
            break;
        case Attribute::frontmost:
            if (!flag || !*flag) break;
            for (auto& [pid, app] : apps_) {
                if (app.element != ref) elements_[app.element.value].values[slot(Attribute::frontmost)] = false;
            }
            break;
        case Attribute::main:
        case Attribute::focused:
            if (flag && *flag && element.isWindow) {
                const Attribute appAttribute =
                    attribute == Attribute::main ? Attribute::mainWindow : Attribute::focusedWindow;
                elements_[appLocked(element.pid).element.value].values[slot(appAttribute)] = ref;
            }
            break;
        default:
            break;
    }
}

}  // namespace quillbern
