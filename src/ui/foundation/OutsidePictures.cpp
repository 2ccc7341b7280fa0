#include "ui/foundation/OutsidePictures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <list>
#include <map>
#include <mutex>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "core/foundation/Log.h"
#include "core/foundation/Signal.h"
#include "core/foundation/UncheckedAccesses.h"
#include "core/platform/PictureReader.h"
#include "core/platform/SystemThreads.h"
#include "core/platform/WorkerStop.h"
#include "ui/foundation/IconThemeIndex.h"

namespace quillbern {

namespace {

using SteadyClock = std::chrono::steady_clock;

// What the pictures drawn keep: the icons of every shown view many times over.
constexpr qint64 kMostKeptBytes = 4 << 20;
// A name the index lacks makes it look whether the themes' folders changed, this seldom.
constexpr auto kCheckEvery = std::chrono::seconds(2);
// After applications were installed, the themes' folders are looked at again this long after,
// then twice as long after each look, this many times in all (at 1, 3, 7 and 15 s): an icon
// may land after its entry, as files copied one by one or a package's do.
constexpr auto kFirstInstallLook = std::chrono::seconds(1);
constexpr int kInstallLooks = 4;
// A size just arrived and pushed out again is not asked for again within this, so views that
// together draw more than is kept never keep the worker and themselves busy.
constexpr auto kAskedAgainAfter = std::chrono::seconds(2);
// Arrivals close together repaint the windows once.
constexpr int kRepaintDelayMs = 30;
constexpr std::size_t kMostUnreadable = 4096;
// The first readings of the pictures waiting share this time, each within bounds: what an icon
// of any theme takes many times over, and on a busy machine at least. One not read within its
// share waits until every other asked meanwhile has had its first, so that a picture after any
// number of slow ones arrives within seconds.
constexpr Duration kFirstReadingsTogether = 1;
constexpr Duration kMostFirstReading = 0.25;
constexpr Duration kLeastFirstReading = 0.05;
// Its second and last, after which it is given up: the reader bounds the work it knows of
// (PictureCosts), this any other (an SVG of 8 MB drawn at 512 pixels took 2 to 8 s). About
// four times what a picture at the memory bound took on a busy machine.
constexpr Duration kMostReadingTime = 3;
// The reader's process ends once no picture was asked for this long.
constexpr Duration kReaderRests = 5;

// Which themes Qt names and where it finds them.
struct ThemeSettings {
    QString theme;
    QString fallback;
    QStringList baseFolders;
    QStringList fallbackFolders;
    bool operator==(const ThemeSettings&) const = default;

    // Those Qt names now, in the folders given where the program took them from Qt.
    static ThemeSettings now(const std::optional<std::pair<QStringList, QStringList>>& folders) {
        return {QIcon::themeName(), QIcon::fallbackThemeName(), folders ? folders->first : QIcon::themeSearchPaths(),
                folders ? folders->second : QIcon::fallbackSearchPaths()};
    }

    // The themes' index: pictures of no theme in the base folders themselves, in Qt's own
    // folders for them, and in the one pixmaps folder of the rules, each once.
    IconThemeIndex index() const {
        QStringList unthemed;
        for (const QString& folder :
             baseFolders + fallbackFolders + QStringList{QStringLiteral("/usr/share/pixmaps")}) {
            if (!folder.startsWith(QLatin1Char(':'))) unthemed << QDir::cleanPath(folder);
        }
        unthemed.removeDuplicates();
        return IconThemeIndex({theme, fallback}, baseFolders, unthemed);
    }
};

struct Key {
    QString source;
    int width;
    int height;
    int scale;
    bool operator<(const Key& other) const {
        return std::tie(source, width, height, scale) < std::tie(other.source, other.width, other.height, other.scale);
    }
};

// The order in which what is asked is read: the themes' index, which every name needs; a
// picture another size of which is drawn already; an icon of the themes; then any file an
// entry names, which may be anything; last, a second reading of what its first did not read
// in time. In the order asked within each.
enum class Rank { index, drawnBefore, themeIcon, file, secondReading };

// What the main thread hands the worker, one at a time.
struct Request {
    std::optional<Key> key;
    PictureSource source;
    bool secondReading = false;
    // Without a key: whether the themes' folders are looked at, the index made again if they changed.
    bool look = false;
};

struct Arrival {
    std::optional<Key> key;
    PictureSource source;
    bool secondReading = false;
    PictureRead::Outcome outcome = PictureRead::Outcome::none;
    QImage image;
    std::shared_ptr<const IconThemeIndex> index;
    // The themes Qt named when it was asked for.
    ThemeSettings settings;
};

// The worker's way back to the main thread: arrivals under a lock, and one queued call to
// take them whenever the first comes, while the application lives.
struct Channel {
    std::mutex mutex;
    std::vector<Arrival> arrivals;
    bool open = true;
    std::function<void()> take;

    bool isOpen() {
        const std::lock_guard lock(mutex);
        return open;
    }

    void deliver(Arrival arrival) {
        const std::lock_guard lock(mutex);
        if (!open) return;
        arrivals.push_back(std::move(arrival));
        if (arrivals.size() != 1) return;
        // The arrivals cross under our lock; the queued call's event is Qt's.
        const UncheckedAccesses qtsOwnHandOff;
        QMetaObject::invokeMethod(QCoreApplication::instance(), take, Qt::QueuedConnection);
    }
};

// What the worker keeps between pictures: the themes' index, and the reader. Worker thread.
class PictureWorkshop {
public:
    // With the index the main thread holds of those settings, when it holds one.
    PictureWorkshop(WorkerLoop& loop, std::shared_ptr<PictureReader> reader, const ThemeSettings& settings,
                    std::shared_ptr<const IconThemeIndex> index)
        : loop_(loop),
          reader_(std::move(reader)),
          settings_(settings),
          index_(std::move(index)),
          checked_(SteadyClock::now()) {}

    // The index of the themes those settings name, made now when it is not; `made` then
    // holds it.
    std::shared_ptr<const IconThemeIndex> index(const ThemeSettings& settings,
                                                std::shared_ptr<const IconThemeIndex>& made) {
        if (!index_ || settings_ != settings) remake(settings, made);
        return index_;
    }

    // The index made again when the themes' folders changed since it was made, or when it is
    // none of those settings; `made` then holds it.
    void look(const ThemeSettings& settings, std::shared_ptr<const IconThemeIndex>& made) {
        if (!index_ || settings_ != settings || !index_->isCurrent()) {
            remake(settings, made);
            return;
        }
        checked_ = SteadyClock::now();
    }

    // The picture of the source at that many pixels for that scale, read within `limit`.
    PictureRead read(const PictureSource& source, int pixels, int scale, Duration limit, const ThemeSettings& settings,
                     std::shared_ptr<const IconThemeIndex>& made) {
        if (!reader_) return {PictureRead::Outcome::unavailable, {}};
        if (!source.file.isEmpty()) return readFile(source.file, pixels, limit);
        index(settings, made);
        const int size = std::max(1, pixels / scale);
        for (const QString& name : source.names) {
            std::vector<ThemeIconFile> files = index_->filesOf(name);
            // An application installed meanwhile put its icon into the themes' folders.
            if (files.empty() && SteadyClock::now() - checked_ >= kCheckEvery) {
                checked_ = SteadyClock::now();
                if (!index_->isCurrent()) {
                    remake(settings, made);
                    files = index_->filesOf(name);
                }
            }
            // Files made for the size at that scale first, in the order of the theme's
            // folders; then the nearest.
            std::ranges::stable_sort(files, {}, [size, scale](const ThemeIconFile& file) {
                return std::pair(!file.suits(size, scale), file.distanceTo(size, scale));
            });
            for (const ThemeIconFile& file : files) {
                PictureRead read = readFile(file.path, pixels, limit);
                if (read.outcome != PictureRead::Outcome::none) return read;
            }
        }
        return {};
    }

private:
    void remake(const ThemeSettings& settings, std::shared_ptr<const IconThemeIndex>& made) {
        settings_ = settings;
        index_ = std::make_shared<const IconThemeIndex>(settings.index());
        checked_ = SteadyClock::now();
        made = index_;
    }

    PictureRead readFile(const QString& path, int pixels, Duration limit) {
        PictureRead read = reader_->read({.kind = PictureAsk::Kind::icon,
                                          .file = QFile::encodeName(path).toStdString(),
                                          .sidePx = pixels,
                                          .uri = {},
                                          .mtime = {}},
                                         limit);
        // Once nothing is asked for a while, the reader's process ends.
        rest_ = loop_.after(kReaderRests, [reader = reader_] { reader->rest(); });
        return read;
    }

    WorkerLoop& loop_;
    std::shared_ptr<PictureReader> reader_;
    ThemeSettings settings_;
    std::shared_ptr<const IconThemeIndex> index_;
    SteadyClock::time_point checked_;
    Timer rest_;
};

// The pixels as the main thread draws them.
QImage imageOf(const PixelBuffer& pixels) {
    return QImage(pixels.rgbaPremultiplied.data(), pixels.width, pixels.height, pixels.width * 4,
                  QImage::Format_RGBA8888_Premultiplied)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

QString PictureSource::key() const {
    return file.isEmpty() ? QStringLiteral("n:") + names.join(QLatin1Char('\n')) : QStringLiteral("f:") + file;
}

struct OutsidePictures::Parts {
    struct Kept {
        QPixmap pixmap;
        std::list<Key>::iterator use;
    };

    std::shared_ptr<Channel> channel = std::make_shared<Channel>();
    std::shared_ptr<PictureReader> reader;
    SystemThreads threads;
    std::unique_ptr<WorkerLoop> worker;
    std::shared_ptr<PictureWorkshop> workshop;
    bool workerFailed = false;
    // What is asked and not yet handed to the worker, best first.
    std::multimap<Rank, Request> waiting;
    // The request the worker has, when it has one.
    struct Reading {
        bool look = false;
    };
    std::optional<Reading> reading;
    bool handingArmed = false;
    std::map<Key, Kept> kept;
    // Most recently drawn first.
    std::list<Key> uses;
    qint64 keptBytes = 0;
    std::set<Key> pending;
    std::map<Key, SteadyClock::time_point> arrivedAt;
    std::set<QString> unreadable;
    // Pictures given up, which neither a new index nor an install brings back: only other
    // themes do, for a name.
    std::set<QString> givenUp;
    // No picture can be read, now or later: every one shows its stand-in at once.
    bool noneCanBeRead = false;
    // The themes Qt names, which what is kept was read from.
    // Where the themes are searched once taken from Qt: Qt's own then search nowhere.
    std::optional<std::pair<QStringList, QStringList>> folders;
    ThemeSettings settings = ThemeSettings::now(folders);
    int themeChanges = 0;
    std::shared_ptr<const IconThemeIndex> index;
    bool indexAsked = false;
    // A look at the themes' folders is asked for, and when the last was.
    bool lookAsked = false;
    SteadyClock::time_point lookAskedAt;
    // The look comes after applications were installed: what could not be read is asked again.
    bool lookAfterInstall = false;
    // Runs only after applications were installed, a few times.
    QTimer installLooks;
    int installLooksDone = 0;
    Signal<> picturesChanged;
    bool repaintArmed = false;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> listeners;

    bool startWorker() {
        if (worker) return true;
        if (workerFailed) return false;
        worker = threads.startWorker("quillbern.pics", WorkerStop::kLimit);
        if (!worker) {
            workerFailed = true;
            log("the thread that reads icons did not start; icons show the program's own pictures");
            return false;
        }
        workshop = std::make_shared<PictureWorkshop>(*worker, reader, settings, index);
        return true;
    }

    // Asks for the picture of the key, or without one for the themes' index alone, or for a
    // look at the themes' folders.
    void ask(const std::optional<Key>& key, const PictureSource& source, bool look = false) {
        if (workerFailed) {
            if (key) markUnreadable(key->source);
            return;
        }
        if (key) pending.insert(*key);
        waiting.emplace(rankOf(key, source), Request{key, source, false, look});
        handSoon();
    }

    // What is asked in one turn of the main loop (a paint's icons) is handed over best first.
    void handSoon() {
        if (handingArmed || reading || !QCoreApplication::instance()) return;
        handingArmed = true;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this] {
                handingArmed = false;
                handNext();
            },
            Qt::QueuedConnection);
    }

    // Has the worker look whether the themes' folders changed; one look at a time.
    void askLook(bool afterInstall) {
        lookAfterInstall |= afterInstall;
        lookAskedAt = SteadyClock::now();
        if (lookAsked) return;
        lookAsked = true;
        ask(std::nullopt, {}, true);
    }

    Rank rankOf(const std::optional<Key>& key, const PictureSource& source) const {
        if (!key) return Rank::index;
        const auto drawn = kept.lower_bound(Key{key->source, 0, 0, 0});
        if (drawn != kept.end() && drawn->first.source == key->source) return Rank::drawnBefore;
        return source.file.isEmpty() ? Rank::themeIcon : Rank::file;
    }

    // Hands the worker the best request waiting, when it has none.
    void handNext() {
        if (reading || waiting.empty()) return;
        if (!startWorker()) {
            for (const auto& [rank, request] : waiting) {
                if (request.key) {
                    pending.erase(*request.key);
                    markUnreadable(request.key->source);
                }
            }
            waiting.clear();
            return;
        }
        const auto best = waiting.begin();
        const Request request = std::move(best->second);
        waiting.erase(best);
        reading = Reading{request.look};
        const Duration limit = request.secondReading ? kMostReadingTime : firstReadingNow();
        worker->post([workshop = workshop, channel = channel, request, limit, settings = settings] {
            // Pictures asked for before the end are not read at the end.
            if (!channel->isOpen()) return;
            Arrival arrival{request.key, request.source, request.secondReading, {}, {}, {}, settings};
            if (request.key) {
                PictureRead read = workshop->read(request.source, std::min(request.key->width, request.key->height),
                                                  request.key->scale, limit, settings, arrival.index);
                arrival.outcome = read.outcome;
                if (read.outcome == PictureRead::Outcome::picture) arrival.image = imageOf(read.pixels);
            } else if (request.look) {
                workshop->look(settings, arrival.index);
            } else {
                arrival.index = workshop->index(settings, arrival.index);
            }
            channel->deliver(std::move(arrival));
        });
    }

    // The share of the first readings waiting, this one's among them.
    Duration firstReadingNow() const {
        const auto firsts = std::count_if(waiting.begin(), waiting.lower_bound(Rank::secondReading),
                                          [](const auto& waits) { return waits.second.key.has_value(); });
        return std::clamp(kFirstReadingsTogether / Duration(firsts + 1), kLeastFirstReading, kMostFirstReading);
    }

    // A picture not read within its second reading, or that ended its reader, is given up at
    // every size, for the run.
    void giveUp(const Key& key, PictureRead::Outcome outcome) {
        log("an icon's picture was given up: ",
            outcome == PictureRead::Outcome::overran
                ? "it was not read within " + std::to_string(int(kMostReadingTime)) + " s"
                : std::string("its reader ended as it read it"),
            "; its place shows a stand-in — ", escapedForLog(key.source.mid(2).toStdString()));
        std::erase_if(waiting, [this, &key](const auto& waits) {
            const std::optional<Key>& other = waits.second.key;
            if (!other || other->source != key.source) return false;
            pending.erase(*other);
            return true;
        });
        if (givenUp.size() >= kMostUnreadable) givenUp.clear();
        givenUp.insert(key.source);
    }

    bool cannotRead(const QString& source) const {
        return noneCanBeRead || unreadable.contains(source) || givenUp.contains(source);
    }

    void markUnreadable(const QString& source) {
        if (unreadable.size() >= kMostUnreadable) unreadable.clear();
        unreadable.insert(source);
    }

    void take() {
        std::vector<Arrival> arrivals;
        {
            const std::lock_guard lock(channel->mutex);
            arrivals.swap(channel->arrivals);
        }
        const auto now = SteadyClock::now();
        bool changed = false;
        for (Arrival& arrival : arrivals) {
            const bool look = reading && reading->look;
            reading.reset();
            if (look) {
                lookAsked = false;
                // An install may have put in place what could not be read.
                if (std::exchange(lookAfterInstall, false)) {
                    unreadable.clear();
                    changed = true;
                }
            }
            // Read from themes Qt no longer names.
            if (arrival.settings != settings) {
                if (arrival.key) pending.erase(*arrival.key);
                continue;
            }
            if (arrival.index) {
                index = arrival.index;
                indexAsked = false;
                // What the themes lacked may be there now.
                unreadable.clear();
                changed = true;
            }
            if (!arrival.key) continue;
            const Key& key = *arrival.key;
            pending.erase(key);
            switch (arrival.outcome) {
                case PictureRead::Outcome::picture:
                    arrivedAt.insert_or_assign(key, now);
                    keep(key, QPixmap::fromImage(std::move(arrival.image)));
                    break;
                case PictureRead::Outcome::overran:
                    if (!arrival.secondReading) {
                        // Read again once every picture asked meanwhile has had its first reading.
                        pending.insert(key);
                        waiting.emplace(Rank::secondReading, Request{key, std::move(arrival.source), true, false});
                        break;
                    }
                    [[fallthrough]];
                case PictureRead::Outcome::lost:
                    giveUp(key, arrival.outcome);
                    break;
                case PictureRead::Outcome::unavailable:
                    noneCanBeRead = true;
                    [[fallthrough]];
                case PictureRead::Outcome::none:
                    arrivedAt.insert_or_assign(key, now);
                    markUnreadable(key.source);
                    break;
            }
        }
        if (arrivedAt.size() > kMostUnreadable)
            std::erase_if(arrivedAt, [now](const auto& at) { return now - at.second >= kAskedAgainAfter; });
        handNext();
        repaintSoon();
        if (changed) picturesChanged.emit();
    }

    // Forgets what was read of the themes Qt named before.
    void followThemeSettings() {
        ThemeSettings now = ThemeSettings::now(folders);
        if (now == settings) return;
        settings = std::move(now);
        ++themeChanges;
        // What waits was asked of the themes named before.
        for (const auto& [rank, request] : waiting) {
            if (request.key) pending.erase(*request.key);
        }
        waiting.clear();
        // A look that waited went with them.
        lookAsked = reading && reading->look;
        kept.clear();
        uses.clear();
        keptBytes = 0;
        arrivedAt.clear();
        unreadable.clear();
        std::erase_if(givenUp, [](const QString& source) { return source.startsWith(QStringLiteral("n:")); });
        index.reset();
        indexAsked = false;
    }

    // Another size of the key's picture, scaled to it, while its own is read: a view that
    // grows or shrinks an icon never shows the stand-in between sizes.
    QPixmap nearest(const Key& key) const {
        const Kept* best = nullptr;
        const auto gap = [&key](const QPixmap& pixmap) { return std::abs(pixmap.width() - key.width); };
        for (auto at = kept.lower_bound(Key{key.source, 0, 0, 0}); at != kept.end() && at->first.source == key.source;
             ++at) {
            if (!best || gap(at->second.pixmap) < gap(best->pixmap)) best = &at->second;
        }
        return best ? best->pixmap.scaled(QSize(key.width, key.height), Qt::KeepAspectRatio, Qt::SmoothTransformation)
                    : QPixmap();
    }

    bool arrivedLately(const Key& key) const {
        const auto at = arrivedAt.find(key);
        return at != arrivedAt.end() && SteadyClock::now() - at->second < kAskedAgainAfter;
    }

    void keep(const Key& key, QPixmap pixmap) {
        const qint64 cost = qint64(pixmap.width()) * pixmap.height() * 4;
        while (keptBytes + cost > kMostKeptBytes && !uses.empty()) {
            const auto oldest = kept.find(uses.back());
            keptBytes -= qint64(oldest->second.pixmap.width()) * oldest->second.pixmap.height() * 4;
            kept.erase(oldest);
            uses.pop_back();
        }
        if (const auto old = kept.find(key); old != kept.end()) {
            keptBytes -= qint64(old->second.pixmap.width()) * old->second.pixmap.height() * 4;
            uses.erase(old->second.use);
            kept.erase(old);
        }
        uses.push_front(key);
        kept.emplace(key, Kept{std::move(pixmap), uses.begin()});
        keptBytes += cost;
    }

    void repaintSoon() {
        if (repaintArmed || !QCoreApplication::instance()) return;
        repaintArmed = true;
        QTimer::singleShot(kRepaintDelayMs, QCoreApplication::instance(), [this] {
            repaintArmed = false;
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (!window->isVisible()) continue;
                window->update();
                // Qt leaves an opaque part, such as a list's viewport, out of its window's repaint.
                for (QWidget* part : window->findChildren<QWidget*>()) {
                    if (part->isVisible()) part->update();
                }
            }
            std::erase_if(listeners, [](const auto& listener) { return listener.first.isNull(); });
            // A listener may add another.
            const auto called = listeners;
            for (const auto& [context, arrived] : called) {
                if (context) arrived();
            }
        });
    }

    bool stop() {
        {
            const std::lock_guard lock(channel->mutex);
            channel->open = false;
            channel->arrivals.clear();
        }
        waiting.clear();
        reading.reset();
        installLooks.stop();
        // A picture being read is given up at once.
        if (reader) reader->stop();
        // The workshop goes with the worker's last task, or with the worker left behind.
        workshop.reset();
        if (worker) stopWorker(std::move(worker), threads, "quillbern.pics");
        workerFailed = true;
        kept.clear();
        uses.clear();
        keptBytes = 0;
        listeners.clear();
        return !threads.hasLeftWorkersBehind();
    }
};

OutsidePictures::OutsidePictures() : parts_(std::make_unique<Parts>()) {
    parts_->channel->take = [parts = parts_.get()] { parts->take(); };
    parts_->installLooks.setSingleShot(true);
    QObject::connect(&parts_->installLooks, &QTimer::timeout, [parts = parts_.get()] {
        parts->askLook(true);
        if (++parts->installLooksDone < kInstallLooks)
            parts->installLooks.start(kFirstInstallLook * (1 << parts->installLooksDone));
    });
}

void OutsidePictures::takeThemeFoldersFromQt() {
    parts_->folders.emplace(QIcon::themeSearchPaths(), QIcon::fallbackSearchPaths());
    QIcon::setThemeSearchPaths({});
    QIcon::setFallbackSearchPaths({});
    parts_->followThemeSettings();
}

void OutsidePictures::readWith(std::unique_ptr<PictureReader> reader) {
    parts_->reader = std::move(reader);
    parts_->noneCanBeRead = !parts_->reader;
}

OutsidePictures::~OutsidePictures() = default;

OutsidePictures& OutsidePictures::shared() {
    // Never destroyed: its worker ends, and its pixmaps go, before the application object.
    static OutsidePictures* pictures = [] {
        auto* made = new OutsidePictures;
        qAddPostRoutine([] { shared().parts_->stop(); });
        return made;
    }();
    return *pictures;
}

QPixmap OutsidePictures::pixmap(const PictureSource& source, QSize pixels, int scale, bool& unreadable) {
    Parts& parts = *parts_;
    parts.followThemeSettings();
    const Key key{source.key(), pixels.width(), pixels.height(), scale};
    unreadable = parts.cannotRead(key.source);
    if (unreadable || pixels.isEmpty()) return {};
    if (const auto kept = parts.kept.find(key); kept != parts.kept.end()) {
        parts.uses.splice(parts.uses.begin(), parts.uses, kept->second.use);
        return kept->second.pixmap;
    }
    if (!parts.pending.contains(key) && !parts.arrivedLately(key)) parts.ask(key, source);
    unreadable = parts.cannotRead(key.source);
    return unreadable ? QPixmap() : parts.nearest(key);
}

std::optional<bool> OutsidePictures::themesList(const QStringList& names) {
    Parts& parts = *parts_;
    parts.followThemeSettings();
    if (parts.index) {
        const bool listed =
            std::ranges::any_of(names, [&parts](const QString& name) { return parts.index->lists(name); });
        // An application installed meanwhile may have put its icon into the themes' folders.
        if (!listed && !names.isEmpty() && SteadyClock::now() - parts.lookAskedAt >= kCheckEvery) parts.askLook(false);
        return listed;
    }
    if (!parts.indexAsked) {
        parts.indexAsked = true;
        parts.ask(std::nullopt, {});
    }
    return std::nullopt;
}

void OutsidePictures::lookForInstalledPictures() {
    Parts& parts = *parts_;
    parts.followThemeSettings();
    parts.askLook(true);
    parts.installLooksDone = 0;
    parts.installLooks.start(kFirstInstallLook);
}

Subscription OutsidePictures::onPicturesChanged(std::function<void()> changed) {
    return parts_->picturesChanged.connect(std::move(changed));
}

bool OutsidePictures::stop() {
    return parts_->stop();
}

int OutsidePictures::beingRead() const {
    return int(parts_->pending.size());
}

int OutsidePictures::themeChanges() {
    parts_->followThemeSettings();
    return parts_->themeChanges;
}

void OutsidePictures::whenArrived(QObject* context, std::function<void()> arrived) {
    parts_->listeners.emplace_back(context, std::move(arrived));
}

}  // namespace quillbern
