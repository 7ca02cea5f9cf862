#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/concurrency/WorkerPool.h"
#include "ui/colorpicker/ImageChannels.h"
#include "ui/framework/core/MemoryDC.h"

// The picker popup's backdrop: a scaled-down copy of a window's top-level
// window as it shows on screen, blurred. Owns its surfaces, the blur's
// storage (kept from one take to the next) and the blur's worker threads,
// which end with it.
class BackdropSnapshot {
public:
    BackdropSnapshot();
    ~BackdropSnapshot();
    BackdropSnapshot(const BackdropSnapshot&) = delete;
    BackdropSnapshot& operator=(const BackdropSnapshot&) = delete;

    // Copies window's root window at 1 / scaleDown of its size and blurs it
    // with sigma into an opaque bitmap. Null when the copy is empty (the
    // window minimised or smaller than scaleDown pixels), when scaleDown is
    // not positive, or when no surface could be made. A take of the same size
    // as the last one fills the same bitmap again.
    std::shared_ptr<Gdiplus::Bitmap> Take(HWND window, float scaleDown, int sigma);

    // The last backdrop stretched to width x height with bilinear smoothing
    // into target (resized to fit), opaque; false without a backdrop or
    // when target cannot be made. Stretching it here costs a fraction of
    // what GDI+ takes for the same.
    bool StretchInto(CMemoryDC& target, int width, int height);

    // The last unblurred scaled copy (empty after an empty one).
    const CMemoryDC& SnapshotDC() const { return m_snapshotDC; }

    // Each target pixel the average of the source pixels that it covers, so
    // that scaling down by 2 averages 2 x 2 blocks. Alpha becomes 0xFF.
    static void ScaleDown(const uint32_t* source, int sourceWidth, int sourceHeight, uint32_t* target,
                          int targetWidth, int targetHeight, concurrency::WorkerPool& pool);

    // Bilinear scaling of opaque pixels, pixel centres mapped onto pixel
    // centres and edges repeated.
    static void ScaleUp(const uint32_t* source, int sourceWidth, int sourceHeight, uint32_t* target,
                        int targetWidth, int targetHeight, concurrency::WorkerPool& pool);

private:
    struct Backdrop;

    CMemoryDC m_captureDC;   // the window at full size
    CMemoryDC m_snapshotDC;  // scaled down
    ImageChannels m_channels;
    std::shared_ptr<Backdrop> m_backdrop;
    bool m_bHasBackdrop = false;
    concurrency::WorkerPool m_workers;
};
