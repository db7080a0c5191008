// Times a program's start-up from outside, as a user sees it: from just
// before the process is started until its first top-level window is mapped on
// the X display, and until something is first drawn into that window. The
// program is then killed: its shutdown is not part of its start-up.
//
//   startup_watch [--skip N] [--cpu] -- PROGRAM [ARG ...]
//
// Prints one line "MAP_MS PAINT_MS PEAK_KIB", and with --cpu a fourth figure,
// CPU_MS: the processor time the program used until it was killed (user and
// system), which a busy machine changes far less than the wall-clock times.
// --skip N passes over the first N windows mapped (a splash, for instance).
// Windows that are override-redirect when mapped (menus, tool tips) are never
// counted. Needs only the core X protocol and the DAMAGE extension, which
// every X server of this century has (Xvfb included).
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace ovlet::window {
namespace {

using Clock = std::chrono::steady_clock;

// The DAMAGE extension's requests, written out: its minor opcodes, and a
// report level that sends one event when a window first gets drawn into.
constexpr std::uint8_t kDamageQueryVersion = 0;
constexpr std::uint8_t kDamageCreate = 1;
constexpr std::uint8_t kDamageReportNonEmpty = 3;
xcb_extension_t damageExtension = {"DAMAGE", 0};

// Sends one DAMAGE request whose whole body (header included) is `body`;
// xcb fills the header in. Its sequence number.
template <class Body>
unsigned SendDamageRequest(xcb_connection_t* c, Body& body, std::uint8_t opcode, bool isVoid, int flags) {
    // xcb_send_request may use the two entries before the first for the header.
    iovec parts[4];
    parts[2].iov_base = &body;
    parts[2].iov_len = sizeof body;
    parts[3].iov_base = nullptr;
    parts[3].iov_len = 0;
    xcb_protocol_request_t request{1, &damageExtension, opcode, static_cast<std::uint8_t>(isVoid)};
    return xcb_send_request(c, flags, parts + 2, &request);
}

bool DamageQueryVersion(xcb_connection_t* c) {
    struct {
        std::uint8_t major, minor;
        std::uint16_t length;
        std::uint32_t majorVersion, minorVersion;
    } body{0, 0, 0, 1, 1};
    const unsigned sequence = SendDamageRequest(c, body, kDamageQueryVersion, false, XCB_REQUEST_CHECKED);
    xcb_generic_error_t* error = nullptr;
    void* reply = xcb_wait_for_reply(c, sequence, &error);
    std::free(error);
    const bool ok = reply != nullptr;
    std::free(reply);
    return ok;
}

void DamageCreate(xcb_connection_t* c, xcb_window_t window) {
    struct {
        std::uint8_t major, minor;
        std::uint16_t length;
        std::uint32_t damage, drawable;
        std::uint8_t level, pad[3];
    } body{0, 0, 0, xcb_generate_id(c), window, kDamageReportNonEmpty, {0, 0, 0}};
    SendDamageRequest(c, body, kDamageCreate, true, 0);
    xcb_flush(c);
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int Usage() {
    std::fputs("usage: startup_watch [--skip N] [--cpu] -- PROGRAM [ARG ...]\n", stderr);
    return 2;
}

int Watch(int argc, char** argv) {
    int skip = 0;
    bool cpu = false;
    int first = 1;
    for (; first < argc; ++first) {
        if (std::strcmp(argv[first], "--skip") == 0 && first + 1 < argc) {
            skip = std::atoi(argv[++first]);
        } else if (std::strcmp(argv[first], "--cpu") == 0) {
            cpu = true;
        } else if (std::strcmp(argv[first], "--") == 0) {
            ++first;
            break;
        } else {
            return Usage();
        }
    }
    if (first >= argc) return Usage();

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fputs("startup_watch: cannot open the display\n", stderr);
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &damageExtension);
    const bool painting = damage && damage->present && DamageQueryVersion(c);
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    // A round trip, so the server watches before the program starts.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        execvp(argv[first], argv + first);
        _exit(127);
    }
    if (child < 0) return 1;
    setpgid(child, child);

    std::set<xcb_window_t> created;  // top-level windows that may be mapped
    xcb_window_t watched = XCB_NONE;
    double mapMs = -1;
    double paintMs = -1;
    bool ended = false;  // the program ended by itself
    while (paintMs < 0 && !ended) {
        xcb_generic_event_t* event = xcb_poll_for_event(c);
        if (!event) {
            if (xcb_connection_has_error(c)) break;
            pollfd wait{xcb_get_file_descriptor(c), POLLIN, 0};
            poll(&wait, 1, 100);
            ended = waitpid(child, nullptr, WNOHANG) == child;
            continue;
        }
        const std::uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            // Whether a window is override-redirect is judged when it is
            // mapped: Wine creates a top-level window override-redirect and
            // turns that off before mapping it when the window is one the
            // window manager should handle (the maker's splash, for one).
            const auto* e = reinterpret_cast<xcb_create_notify_event_t*>(event);
            created.insert(e->window);
            // Watched from its creation, so no drawing is missed.
            if (painting) DamageCreate(c, e->window);
        } else if (type == XCB_MAP_NOTIFY && watched == XCB_NONE) {
            const auto* e = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (!e->override_redirect && created.count(e->window) && skip-- == 0) {
                mapMs = MillisecondsSince(start);
                watched = e->window;
                if (!painting) paintMs = mapMs;
            }
        } else if (painting && type == damage->first_event) {
            std::uint32_t drawable = 0;
            std::memcpy(&drawable, reinterpret_cast<const std::uint8_t*>(event) + 4, sizeof drawable);
            if (watched != XCB_NONE && drawable == watched) paintMs = MillisecondsSince(start);
        }
        std::free(event);
    }
    kill(-child, SIGKILL);
    int status = 0;
    rusage usage{};
    if (!ended) wait4(child, &status, 0, &usage);
    xcb_disconnect(c);
    if (mapMs < 0) {
        std::fputs("startup_watch: the program ended without mapping a window\n", stderr);
        return 1;
    }
    if (cpu) {
        const double cpuMs = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                             static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
        std::printf("%.2f %.2f %ld %.2f\n", mapMs, paintMs, usage.ru_maxrss, cpuMs);
    } else {
        std::printf("%.2f %.2f %ld\n", mapMs, paintMs, usage.ru_maxrss);
    }
    return 0;
}

}  // namespace
}  // namespace ovlet::window

int main(int argc, char** argv) {
    return ovlet::window::Watch(argc, argv);
}
