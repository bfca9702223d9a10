#include "UhidKeyboard.h"

#include <fcntl.h>
#include <linux/input.h>
#include <linux/uhid.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace {

// Three application collections, each with its own report id.
const uint8_t kReportDescriptor[] = {
    // Typing keys: report 1, eight modifier bits, a reserved byte, six key codes.
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01,
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x08, 0x81, 0x01,
    0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x19, 0x00, 0x2A, 0xFF, 0x00, 0x81, 0x00,
    0xC0,
    // Media keys: report 2, one 16-bit consumer usage.
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02,
    0x15, 0x00, 0x26, 0xFF, 0x03, 0x19, 0x00, 0x2A, 0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00,
    0xC0,
    // Vendor command channel: feature report 7 with seven data bytes.
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x07,
    0x09, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02,
    0xC0,
};

constexpr size_t kFeatureSize = 8;

}  // namespace

UhidKeyboard::UhidKeyboard(HidHandle& commandInterface, uint16_t productId)
    : commandInterface_(commandInterface), productId_(productId) {
    fd_ = open("/dev/uhid", O_RDWR | O_CLOEXEC);
    stopFd_ = eventfd(0, EFD_CLOEXEC);
}

UhidKeyboard::~UhidKeyboard() {
    if (thread_.joinable()) {
        const uint64_t one = 1;
        (void)!write(stopFd_, &one, sizeof one);
        thread_.join();
    }
    if (fd_ >= 0) close(fd_);  // destroys the device if it still exists
    if (stopFd_ >= 0) close(stopFd_);
}

bool UhidKeyboard::Write(const void* event) {
    return write(fd_, event, sizeof(uhid_event)) == static_cast<ssize_t>(sizeof(uhid_event));
}

bool UhidKeyboard::Create() {
    if (fd_ < 0) return false;
    auto ev = std::make_unique<uhid_event>();
    ev->type = UHID_CREATE2;
    std::strncpy(reinterpret_cast<char*>(ev->u.create2.name), "kbdconf emulated keyboard",
                 sizeof ev->u.create2.name - 1);
    std::memcpy(ev->u.create2.rd_data, kReportDescriptor, sizeof kReportDescriptor);
    ev->u.create2.rd_size = sizeof kReportDescriptor;
    // hidapi lists USB, Bluetooth, I2C and SPI devices only; without a USB parent it then
    // reports no interface number, as for any virtual device.
    ev->u.create2.bus = BUS_USB;
    ev->u.create2.vendor = kVendorId;
    ev->u.create2.product = productId_;
    ev->u.create2.version = 0x0100;
    if (!Write(ev.get())) return false;
    if (!thread_.joinable()) thread_ = std::thread(&UhidKeyboard::Answer, this);
    return true;
}

bool UhidKeyboard::Destroy() {
    if (fd_ < 0) return false;
    auto ev = std::make_unique<uhid_event>();
    ev->type = UHID_DESTROY;
    return Write(ev.get());
}

std::vector<std::vector<uint8_t>> UhidKeyboard::SetReports() {
    std::lock_guard<std::mutex> lock(mutex_);
    return sets_;
}

void UhidKeyboard::Answer() {
    auto in = std::make_unique<uhid_event>();
    auto out = std::make_unique<uhid_event>();
    for (;;) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;
        if (!(fds[0].revents & POLLIN)) return;  // the uhid node went away
        if (read(fd_, in.get(), sizeof *in) <= 0) continue;

        std::memset(out.get(), 0, sizeof *out);
        if (in->type == UHID_SET_REPORT) {
            const uhid_set_report_req& req = in->u.set_report;
            out->type = UHID_SET_REPORT_REPLY;
            out->u.set_report_reply.id = req.id;
            bool ok = false;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                sets_.emplace_back(req.data, req.data + std::min<size_t>(req.size, UHID_DATA_MAX));
                if (req.rtype == UHID_FEATURE_REPORT && req.rnum == kReportId)
                    ok = commandInterface_.SendFeatureReport(req.data, req.size) == static_cast<int>(kFeatureSize);
            }
            out->u.set_report_reply.err = ok ? 0 : EIO;
            Write(out.get());
        } else if (in->type == UHID_GET_REPORT) {
            const uhid_get_report_req& req = in->u.get_report;
            out->type = UHID_GET_REPORT_REPLY;
            out->u.get_report_reply.id = req.id;
            ++gets_;
            bool ok = false;
            if (req.rtype == UHID_FEATURE_REPORT && req.rnum == kReportId) {
                uint8_t report[kFeatureSize] = {kReportId};
                std::lock_guard<std::mutex> lock(mutex_);
                ok = commandInterface_.GetFeatureReport(report, sizeof report) == static_cast<int>(kFeatureSize);
                if (ok) {
                    std::memcpy(out->u.get_report_reply.data, report, sizeof report);
                    out->u.get_report_reply.size = sizeof report;
                }
            }
            out->u.get_report_reply.err = ok ? 0 : EIO;
            Write(out.get());
        }
        // START, STOP, OPEN, CLOSE and OUTPUT need no answer.
    }
}
