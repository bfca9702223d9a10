#include "protocol/ReportExchange.h"

#include <algorithm>

void SendReportWithRetry(HidDevice& device, const FeatureReport& report) {
    for (int attempt = 0; attempt < kSendAttempts; ++attempt)
        if (device.SetFeature(report)) return;
}

void SendBufferInChunks(HidDevice& device, Pacer& pacer, const KeyAssignment& image) {
    const KeyAssignment copy = image;  // the caller may reuse its image while we send
    FeatureReport report = MakeFeatureReport(FeatureCommand::kWriteMacroSlot);
    for (size_t offset = 0; offset < KeyAssignment::kSize; offset += kChunkSize) {
        std::copy_n(copy.bytes.begin() + offset, kChunkSize, report.begin() + 2);
        SendReportWithRetry(device, report);
        pacer.Sleep(kChunkPauseMs);
        report[1] = FeatureCommand::kContinuation;
    }
}

void GetReportData(HidDevice& device, uint8_t (&data)[7]) {
    FeatureReport report{FeatureCommand::kReportId};
    if (device.GetFeature(report)) {
        std::copy_n(report.begin() + 1, 7, data);
    } else {
        std::fill_n(data, 7, 0);
    }
}
