// Watches the screen of an X display for the benchmark: how long a program takes from exec to
// its first complete frame, and how long a click takes until the screen changes and until
// the next page is complete. It reads pixels with the shared-memory extension and clicks with
// XTest, so it sees what the user sees.
//
//   framewatch launch REFERENCE TIMEOUT -- PROGRAM ARGS...
//       Prints "pid PID", then "first_frame_ms N" when the program's window shows REFERENCE.
//   framewatch capture PID REFERENCE
//       Waits until PID's window is still for a second and stores it as REFERENCE.
//   framewatch click PID X Y REFERENCE TIMEOUT
//       Clicks at (X, Y) in PID's window; prints "first_change_ms N" and "complete_ms N"
//       (from the release) when the window shows REFERENCE ("-": no reference, only the
//       first change).
//
// A reference keeps, for each pixel, its colour, or "any" for pixels that moved while it was
// captured (animations), so that moving parts of a page do not keep a frame from counting.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One grab of a window's area as 32-bit pixels, read through shared memory.
class CGrabber {
public:
    explicit CGrabber(Display* display) : m_display(display) {}
    ~CGrabber() { Release(); }
    CGrabber(const CGrabber&) = delete;
    CGrabber& operator=(const CGrabber&) = delete;

    // The pixels of the window's area on screen; empty when it cannot be read.
    bool Grab(Window window, std::vector<std::uint32_t>& pixels, int& width, int& height) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_display, window, &attributes) ||
            attributes.map_state != IsViewable) {
            return false;
        }
        int x = 0;
        int y = 0;
        Window child = 0;
        XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 0, 0, &x, &y, &child);
        if (!Prepare(attributes.width, attributes.height)) return false;
        if (!XShmGetImage(m_display, DefaultRootWindow(m_display), m_image, x, y, AllPlanes)) {
            return false;
        }
        width = attributes.width;
        height = attributes.height;
        pixels.resize(static_cast<std::size_t>(width) * height);
        for (int row = 0; row < height; ++row) {
            const auto* line = reinterpret_cast<const std::uint32_t*>(m_image->data +
                                                                      row * m_image->bytes_per_line);
            std::memcpy(&pixels[static_cast<std::size_t>(row) * width], line, width * 4u);
        }
        return true;
    }

private:
    bool Prepare(int width, int height) {
        if (m_image && m_image->width == width && m_image->height == height) return true;
        Release();
        const int screen = DefaultScreen(m_display);
        m_image = XShmCreateImage(m_display, DefaultVisual(m_display, screen),
                                  DefaultDepth(m_display, screen), ZPixmap, nullptr, &m_info,
                                  width, height);
        if (!m_image) return false;
        m_info.shmid = shmget(IPC_PRIVATE, m_image->bytes_per_line * m_image->height,
                              IPC_CREAT | 0600);
        m_info.shmaddr = m_image->data = static_cast<char*>(shmat(m_info.shmid, nullptr, 0));
        m_info.readOnly = False;
        XShmAttach(m_display, &m_info);
        XSync(m_display, False);
        shmctl(m_info.shmid, IPC_RMID, nullptr);  // gone once both sides detach
        return true;
    }
    void Release() {
        if (!m_image) return;
        XShmDetach(m_display, &m_info);
        XDestroyImage(m_image);
        shmdt(m_info.shmaddr);
        m_image = nullptr;
    }

    Display* m_display;
    XImage* m_image = nullptr;
    XShmSegmentInfo m_info{};
};

// Colours per pixel; kAny where the pixel may be anything.
struct CReference {
    static constexpr std::uint32_t kAny = 0xFFFFFFFFu;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool Matches(const std::vector<std::uint32_t>& seen, int seenWidth, int seenHeight) const {
        if (seenWidth != width || seenHeight != height) return false;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            if (pixels[i] != kAny && pixels[i] != (seen[i] & 0x00FFFFFFu)) return false;
        }
        return true;
    }
    bool Save(const std::string& path) const {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&width), sizeof width);
        out.write(reinterpret_cast<const char*>(&height), sizeof height);
        out.write(reinterpret_cast<const char*>(pixels.data()), pixels.size() * 4);
        return static_cast<bool>(out);
    }
    bool Load(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        in.read(reinterpret_cast<char*>(&width), sizeof width);
        in.read(reinterpret_cast<char*>(&height), sizeof height);
        if (!in || width <= 0 || height <= 0 || width > 16384 || height > 16384) return false;
        pixels.resize(static_cast<std::size_t>(width) * height);
        in.read(reinterpret_cast<char*>(pixels.data()), pixels.size() * 4);
        return static_cast<bool>(in);
    }
};

long WindowPid(Display* display, Window window) {
    static const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr && count == 1 && format == 32) {
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    }
    if (data) XFree(data);
    return pid;
}

// Whether the window is the program's main window: viewable, of the process, and titled with
// "]" at the end (product title and page title), as the player names it.
bool IsMainWindow(Display* display, Window window, long pid) {
    if (WindowPid(display, window) != pid) return false;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) {
        return false;
    }
    bool main = false;
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        const std::string title(name);
        main = !title.empty() && title.back() == ']';
        XFree(name);
    }
    return main;
}

// The program's main window among the children of parent, or below them: a window manager
// puts each top-level window into a frame of its own.
Window FindMainWindowBelow(Display* display, Window parent, long pid, int depth) {
    Window root = 0;
    Window itsParent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(display, parent, &root, &itsParent, &children, &count)) return 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        if (IsMainWindow(display, children[i], pid)) {
            found = children[i];
        } else if (depth > 1) {
            found = FindMainWindowBelow(display, children[i], pid, depth - 1);
        }
    }
    if (children) XFree(children);
    return found;
}

Window FindMainWindow(Display* display, long pid) {
    return FindMainWindowBelow(display, DefaultRootWindow(display), pid, 3);
}

int Launch(Display* display, const std::string& referencePath, double timeoutMs, char** program) {
    CReference reference;
    if (!reference.Load(referencePath)) {
        std::fprintf(stderr, "framewatch: cannot read the reference %s\n", referencePath.c_str());
        return 2;
    }
    CGrabber grabber(display);
    // Room for a window as large as the screen, touched before the clock starts (see Click).
    const int screen = DefaultScreen(display);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(DisplayWidth(display, screen)) *
                                      DisplayHeight(display, screen));
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        // The program's output must not hold the pipe the caller reads our answers from.
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) dup2(quiet, STDOUT_FILENO);
        execvp(program[0], program);
        _exit(127);
    }
    std::printf("pid %d\n", static_cast<int>(child));
    std::fflush(stdout);
    int width = 0;
    int height = 0;
    while (MillisecondsSince(start) < timeoutMs) {
        const Window window = FindMainWindow(display, child);
        if (window != 0 && grabber.Grab(window, pixels, width, height) &&
            reference.Matches(pixels, width, height)) {
            std::printf("first_frame_ms %.1f\n", MillisecondsSince(start));
            return 0;
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "framewatch: the program ended before its first frame\n");
            return 1;
        }
    }
    std::fprintf(stderr, "framewatch: no complete frame within %.0f ms\n", timeoutMs);
    return 1;
}

int Capture(Display* display, long pid, const std::string& referencePath) {
    CGrabber grabber(display);
    const Clock::time_point start = Clock::now();
    std::vector<std::uint32_t> first;
    std::vector<std::uint32_t> seen;
    int width = 0;
    int height = 0;
    Clock::time_point stillSince = Clock::now();
    while (MillisecondsSince(start) < 30000) {
        const Window window = FindMainWindow(display, pid);
        int w = 0;
        int h = 0;
        if (window == 0 || !grabber.Grab(window, seen, w, h)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        if (w != width || h != height || first.empty()) {
            first = seen, width = w, height = h, stillSince = Clock::now();
            continue;
        }
        // Still, apart from pixels that keep moving: watch one more second and mark those.
        if (std::chrono::duration<double>(Clock::now() - stillSince).count() >= 1.0) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    CReference reference;
    reference.width = width;
    reference.height = height;
    reference.pixels.resize(first.size());
    for (std::size_t i = 0; i < first.size(); ++i) reference.pixels[i] = first[i] & 0x00FFFFFFu;
    const Clock::time_point watch = Clock::now();
    while (std::chrono::duration<double>(Clock::now() - watch).count() < 1.0) {
        const Window window = FindMainWindow(display, pid);
        int w = 0;
        int h = 0;
        if (window == 0 || !grabber.Grab(window, seen, w, h) || w != width || h != height) break;
        for (std::size_t i = 0; i < seen.size(); ++i) {
            if ((seen[i] & 0x00FFFFFFu) != reference.pixels[i]) reference.pixels[i] = CReference::kAny;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (width == 0 || !reference.Save(referencePath)) {
        std::fprintf(stderr, "framewatch: no window of process %ld to capture\n", pid);
        return 1;
    }
    return 0;
}

int Click(Display* display, long pid, int x, int y, const std::string& referencePath,
          double timeoutMs) {
    // "-" clicks without a reference: only the first change is reported.
    CReference reference;
    const bool watchCompletion = referencePath != "-";
    if (watchCompletion && !reference.Load(referencePath)) {
        std::fprintf(stderr, "framewatch: cannot read the reference %s\n", referencePath.c_str());
        return 2;
    }
    const Window window = FindMainWindow(display, pid);
    CGrabber grabber(display);
    std::vector<std::uint32_t> before;
    int width = 0;
    int height = 0;
    if (window == 0 || !grabber.Grab(window, before, width, height)) {
        std::fprintf(stderr, "framewatch: process %ld shows no window\n", pid);
        return 2;
    }
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    grabber.Grab(window, before, width, height);  // with the hover look
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    grabber.Grab(window, before, width, height);  // with the pressed look
    // The memory the window is read into is in use before the release: on this machine a
    // fresh 8 MB buffer costs up to 20 ms of page faults, which are the watcher's own.
    std::vector<std::uint32_t> seen = before;
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
    const Clock::time_point release = Clock::now();
    bool changed = false;
    while (MillisecondsSince(release) < timeoutMs) {
        int w = 0;
        int h = 0;
        if (!grabber.Grab(window, seen, w, h)) continue;
        if (!changed && (w != width || h != height || std::memcmp(seen.data(), before.data(), seen.size() * 4) != 0)) {
            changed = true;
            std::printf("first_change_ms %.1f\n", MillisecondsSince(release));
            if (!watchCompletion) return 0;
        }
        if (watchCompletion && reference.Matches(seen, w, h)) {
            std::printf("complete_ms %.1f\n", MillisecondsSince(release));
            return 0;
        }
    }
    std::fprintf(stderr, "framewatch: the page was not complete within %.0f ms\n", timeoutMs);
    return 1;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: framewatch launch REFERENCE TIMEOUT_MS -- PROGRAM ARGS...\n"
                 "       framewatch capture PID REFERENCE\n"
                 "       framewatch click PID X Y REFERENCE TIMEOUT_MS\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    Display* display = XOpenDisplay(nullptr);
    if (!display || !XShmQueryExtension(display)) {
        std::fprintf(stderr, "framewatch: no X display with the shared-memory extension\n");
        return 2;
    }
    const std::string mode = argv[1];
    int status = 2;
    if (mode == "launch" && argc >= 6 && std::string(argv[4]) == "--") {
        status = Launch(display, argv[2], std::atof(argv[3]), argv + 5);
    } else if (mode == "capture" && argc == 4) {
        status = Capture(display, std::atol(argv[2]), argv[3]);
    } else if (mode == "click" && argc == 7) {
        status = Click(display, std::atol(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), argv[5],
                       std::atof(argv[6]));
    } else {
        status = Usage();
    }
    XCloseDisplay(display);
    return status;
}
