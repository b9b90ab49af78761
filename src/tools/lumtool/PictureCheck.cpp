#include "PictureCheck.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "graphics/PictureDecoding.h"
#include "graphics/QuietAsserts.h"

namespace lumtool {
namespace {

std::string WhyNot(const SPictureBytes& picture) {
    if (!picture.bytes) {
        return picture.refusal.empty() ? "cannot be read from the content" : picture.refusal;
    }
    try {
        wxImage image;
        std::string error;
        if (graphics::DecodePicture(picture.bytes->GetData(), picture.bytes->GetLength(),
                                    picture.type, tarn::win32::SPictureLimits(), image, error)) {
            return {};
        }
        return error.empty() ? "does not decode" : error;
    } catch (...) {
        return "does not fit in memory";
    }
}

// Read pictures waiting for a thread, at most a few more than there are threads.
class CWork {
public:
    explicit CWork(std::size_t capacity) : m_capacity(capacity) {}

    void Put(std::size_t index, SPictureBytes picture) {
        std::unique_lock lock(m_mutex);
        m_room.wait(lock, [this] { return m_waiting.size() < m_capacity; });
        m_waiting.push_back({index, std::move(picture)});
        m_ready.notify_one();
    }
    void Close() {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
        m_ready.notify_all();
    }
    // False once the work is closed and all of it taken.
    bool Take(std::size_t& index, SPictureBytes& picture) {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return !m_waiting.empty() || m_closed; });
        if (m_waiting.empty()) return false;
        index = m_waiting.front().first;
        picture = std::move(m_waiting.front().second);
        m_waiting.pop_front();
        m_room.notify_one();
        return true;
    }

private:
    const std::size_t m_capacity;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::condition_variable m_room;
    std::deque<std::pair<std::size_t, SPictureBytes>> m_waiting;
    bool m_closed = false;
};

}  // namespace

std::vector<std::string> DecodePictures(std::size_t count, const PictureReader& read,
                                        unsigned threads) {
    if (threads == 0) threads = std::max(std::thread::hardware_concurrency(), 1u);
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, std::max<std::size_t>(count, 1)));
    // One verdict per picture, each written by the one thread that decoded it.
    std::vector<std::string> verdicts(count);
    const graphics::CQuietAsserts quiet;  // for the decoding threads too
    CWork work(2 * static_cast<std::size_t>(threads));
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < threads; ++i) {
        workers.emplace_back([&work, &verdicts] {
            std::size_t index = 0;
            SPictureBytes picture;
            while (work.Take(index, picture)) {
                verdicts[index] = WhyNot(picture);
                picture = {};
            }
        });
    }
    try {
        for (std::size_t i = 0; i < count; ++i) work.Put(i, read(i));
    } catch (...) {
        work.Close();
        for (std::thread& worker : workers) worker.join();
        throw;
    }
    work.Close();
    for (std::thread& worker : workers) worker.join();
    return verdicts;
}

}  // namespace lumtool
