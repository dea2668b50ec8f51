#include "tooldriver/portable/CaptureLoop.h"

#include <algorithm>

namespace {

// Pause between two looks at the pipe: 1 ms after a look that found bytes, doubling while the
// pipe stays empty up to this much. The child's end always cuts a pause short.
constexpr int kLongestLookGapMs = 16;
// While the child is silent its watched file is looked at this often (a tenth of a short limit),
// so a file that stopped growing counts from when it stopped, not from the look after.
constexpr int64_t kLongestFileLookGapMs = 1000;

}  // namespace

Text ChunkText(Text bytes) {
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
    return bytes;
}

Capture RunCaptureLoop(CaptureSource& source, const ChunkObserver* observer, bool notifyChunks, int64_t hangMs) {
    const bool notify = notifyChunks && observer && *observer;
    Capture capture;
    bool ended = false;
    int gapMs = 1;
    // The last sign of life: the start, output, or the watched file found grown.
    int64_t lifeAtMs = hangMs > 0 ? source.NowMs() : 0;
    int64_t fileSize = hangMs > 0 ? source.WatchedFileSize() : -1;
    const int64_t fileLookGapMs = std::min(kLongestFileLookGapMs, std::max<int64_t>(hangMs / 10, 1));
    int64_t fileLookAtMs = lifeAtMs;
    for (;;) {
        if (source.StopRequested()) {
            capture.end = CaptureEnd::StopRequested;
            return capture;
        }

        const size_t available = source.Available();
        // A read that fails takes nothing and counts as an empty look, so it cannot loop for ever.
        const Text bytes = available != 0 ? source.Read(available) : Text();
        if (!bytes.empty()) {
            const Text chunk = ChunkText(bytes);
            if (notify && (*observer)(chunk, 1, 0) != 0) {
                capture.end = CaptureEnd::ObserverStopped;
                return capture;
            }
            capture.output += chunk;
            gapMs = 1;
            if (hangMs > 0)
                lifeAtMs = source.NowMs();
        } else if (ended) {
            // The child had ended before this look, and the pipe holds nothing more.
            capture.end = CaptureEnd::ChildEnded;
            return capture;
        } else if (source.ChildEnded()) {
            // What the child wrote between the last look and its end is still in the pipe: one
            // more look, at once, before leaving.
            ended = true;
            continue;
        } else {
            gapMs = std::min(gapMs * 2, kLongestLookGapMs);
            if (hangMs > 0) {
                const int64_t now = source.NowMs();
                if (now - fileLookAtMs >= fileLookGapMs || now - lifeAtMs >= hangMs) {
                    fileLookAtMs = now;
                    const int64_t size = source.WatchedFileSize();
                    if (size > fileSize) {
                        fileSize = size;
                        lifeAtMs = now;
                    }
                }
                // Silent for the whole limit, and the file has not grown meanwhile.
                if (now - lifeAtMs >= hangMs) {
                    capture.end = CaptureEnd::Hung;
                    return capture;
                }
            }
        }
        source.Pause(gapMs);
    }
}
