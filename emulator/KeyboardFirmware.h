#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "protocol/FeatureReport.h"
#include "protocol/KeyAssignment.h"
#include "protocol/LightingRecord.h"

// Our model of the keyboard's firmware: what it holds and how it answers each 8-byte set or get
// of feature report 7. It knows nothing of transports, so the in-process emulated keyboard and a
// uhid bridge can both drive it. Not thread-safe: one caller at a time.
//
// Firmware rules (the real firmware is outside the program; these are the behaviours the program
// relies on, and the choices we made where it does not care):
// - State: the active profile (0-2, profile 1 at power-up) and, per profile, 12 macro slots
//   (owner key code + the 168-byte image) and 12 remap slots (owner + target code); one
//   lighting record per LED mode 0-9, shared by all profiles. Owner 0 = free slot.
// - A set whose byte 0 is not 7 is refused (Set returns false). Every other set is accepted,
//   also when its command is unknown or its payload out of range; such sets change nothing.
// - FB 01: prepares the 28-byte answer for the active profile — 0, the 12 macro owners, 0, the
//   12 remap owners, 0, 0 — and the next four gets return its seven-byte parts in order. A get
//   with no answer pending returns zeros. FB with any other payload is ignored.
// - FC p (1-3): makes profile p active.
// - FA p s key 01 target 01 (p 1-3, s 1-12): remap slot s of profile p belongs to key and sends
//   target; key 0 frees the slot (its target becomes 0 too).
// - F1 + six bytes starts a slot image; each 00 + six bytes appends the next six. When 168 bytes
//   have arrived (one F1 and 27 continuations), the image is stored: bytes 0, 1, 2 name the
//   profile (1-3), the slot (1-12) and the owner; owner 0 frees the slot (image all zero). An
//   image naming no valid profile or slot is dropped. A new F1 discards a partial image;
//   continuations without an F1 are ignored; other commands between the reports do not disturb
//   the assembly. A report that never arrives (refused) leaves the image unfinished, so the slot
//   keeps what it had.
// - F7 m r0..r4 (m 0-9): stores the record of mode m.
// - F0 AA: factory settings — every slot of every profile free, profile 1 active, every lighting
//   record at its start value, any partial image and pending answer dropped.
class KeyboardFirmware {
public:
    static constexpr size_t kReportSize = 8;

    struct MacroSlot {
        uint8_t owner = 0;
        KeyAssignment image;
    };
    struct RemapSlot {
        uint8_t owner = 0;
        uint8_t target = 0;
    };
    struct Profile {
        std::array<MacroSlot, kSlotCount> macros;
        std::array<RemapSlot, kSlotCount> remaps;
    };

    KeyboardFirmware();

    // One feature report set by the host. false: refused.
    bool Set(const uint8_t (&report)[kReportSize]);
    // One feature report fetched by the host: byte 0 = 7, bytes 1-7 data.
    void Get(uint8_t (&report)[kReportSize]);
    // The same for transports that hand over a buffer and its length (a uhid bridge): anything
    // but 8 bytes is refused and changes nothing.
    bool Set(std::span<const uint8_t> report);
    bool Get(std::span<uint8_t> report);

    // Inspection and direct set-up for tests.
    int activeProfile() const { return activeProfile_; }
    const Profile& profile(int index) const { return profiles_.at(index); }
    Profile& profile(int index) { return profiles_.at(index); }
    const LightingRecord& lighting(int mode) const { return lighting_.at(mode); }
    // How many sets and gets were handled (refused sets not counted).
    size_t setCount() const { return sets_; }
    size_t getCount() const { return gets_; }

private:
    void FactoryReset();
    void StoreImage();

    int activeProfile_ = 0;
    std::array<Profile, kProfileCount> profiles_{};
    std::array<LightingRecord, kLedModeCount> lighting_;

    KeyAssignment assembly_;
    size_t assembled_ = 0;  // bytes of the image received so far; 0 = no image in progress

    std::array<uint8_t, 28> answer_{};
    size_t answerParts_ = 0;  // seven-byte parts still to hand out
    size_t sets_ = 0, gets_ = 0;
};
