#include "protocol/ReportExchange.h"

#include <gtest/gtest.h>

#include "ProtocolFakes.h"

using namespace protocol_fakes;

namespace {

KeyAssignment CountingImage() {
    KeyAssignment image;
    for (size_t i = 0; i < image.bytes.size(); ++i) image[i] = static_cast<uint8_t>(i);
    return image;
}

TEST(SendBufferInChunks, TwentyEightReportsFirstF1ThenContinuationsEachFollowedBy8ms) {
    Transcript log;
    RecordingBackend backend(log);
    Rig rig(backend);
    rig.log.clear();
    SendBufferInChunks(rig.device, rig.pacer, CountingImage());

    ASSERT_EQ(rig.log.size(), 56u);
    EXPECT_EQ(rig.log[0], "set 07 F1 00 01 02 03 04 05");
    EXPECT_EQ(rig.log[2], "set 07 00 06 07 08 09 0A 0B");
    EXPECT_EQ(rig.log[54], "set 07 00 A2 A3 A4 A5 A6 A7") << "the last chunk carries bytes 162-167";
    for (size_t i = 1; i < rig.log.size(); i += 2) EXPECT_EQ(rig.log[i], "sleep 8");
}

TEST(SendBufferInChunks, FailingChunkIsTriedFourTimesAndTheUploadGoesOn) {
    Transcript log;
    RecordingBackend backend(log);
    Rig rig(backend);
    rig.log.clear();
    backend.failSets = -1;
    SendBufferInChunks(rig.device, rig.pacer, KeyAssignment{});
    ASSERT_EQ(rig.log.size(), 28u * 5);
    for (size_t chunk = 0; chunk < 28; ++chunk) {
        const std::string want = chunk == 0 ? "set 07 F1 00 00 00 00 00 00" : "set 07 00 00 00 00 00 00 00";
        for (size_t a = 0; a < 4; ++a) EXPECT_EQ(rig.log[chunk * 5 + a], want) << chunk;
        EXPECT_EQ(rig.log[chunk * 5 + 4], "sleep 8");
    }

    // A short transfer counts as a failure too; the second attempt succeeds and ends the retries.
    rig.log.clear();
    backend.failSets = 0;
    backend.setResult = 8;
    backend.failSets = 1;
    SendReportWithRetry(rig.device, MakeFeatureReport(0xFC, {1}));
    EXPECT_EQ(rig.log, (Transcript{"set 07 FC 01 00 00 00 00 00", "set 07 FC 01 00 00 00 00 00"}));
}

TEST(SendBufferInChunks, ClosedChannelStillKeepsEveryPause) {
    Transcript log;
    RecordingBackend backend(log);
    Rig rig(backend, /*open=*/false);
    SendBufferInChunks(rig.device, rig.pacer, CountingImage());
    EXPECT_EQ(rig.log, Transcript(28, "sleep 8"));
}

TEST(GetReportData, FailedOrShortGetGivesZerosWhateverTheBufferHeld) {
    Transcript log;
    RecordingBackend backend(log);
    Rig rig(backend);
    backend.failGets = true;
    backend.garbageOnFailedGet = true;
    uint8_t data[7] = {1, 2, 3, 4, 5, 6, 7};
    GetReportData(rig.device, data);
    for (uint8_t b : data) EXPECT_EQ(b, 0);
}

}  // namespace
