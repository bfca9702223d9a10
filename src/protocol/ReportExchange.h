#pragma once
#include <cstdint>

#include "device/HidDevice.h"
#include "protocol/FeatureReport.h"
#include "protocol/KeyAssignment.h"
#include "protocol/Pacer.h"

// The exchange steps every command is built from. None of them reports failure: the protocol has
// no acknowledgement, and the read-back after each write is the program's only view of the result.

inline constexpr int kSendAttempts = 4;
inline constexpr uint32_t kChunkPauseMs = 8;
inline constexpr size_t kChunkSize = 6;
inline constexpr size_t kChunkCount = KeyAssignment::kSize / kChunkSize;
static_assert(kChunkCount * kChunkSize == KeyAssignment::kSize);

// Sets the report; while that fails, up to three more attempts.
void SendReportWithRetry(HidDevice& device, const FeatureReport& report);

// WriteMacroSlot: 28 reports of six image bytes, the first with command F1, the rest with 00,
// each followed by 8 ms. A report that fails four times is skipped; the next one follows.
void SendBufferInChunks(HidDevice& device, Pacer& pacer, const KeyAssignment& image);

// One data report: 07 00 … out, seven data bytes back in data[0..6]. A failed get gives zeros,
// whatever the transfer left in the buffer.
void GetReportData(HidDevice& device, uint8_t (&data)[7]);
