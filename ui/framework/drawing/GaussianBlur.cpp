#include "ui/framework/drawing/GaussianBlur.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The effect's own limit; also keeps the scratch rows bounded.
constexpr float kMaxDeviation = 250.0f;
// Larger sides would overflow the row sizes on 32-bit builds.
constexpr int kMaxSide = 1 << 20;
// Below this many destination pixels per band a thread costs more than it saves.
constexpr long long kPixelsPerBand = 16384;
constexpr int kMaxBands = 16;
// A tile's horizontally blurred rows fit in this many bytes, so the vertical
// pass finds them in the cache.
constexpr size_t kRingBytes = 128 * 1024;
constexpr int kMinTileWidth = 64;

// Channel values times 128 in 16 bits: two of them still add up without
// overflow (2 * 255 * 128 < 65536). Weights are 16-bit fractions (of 65536).
using Sample = uint16_t;
constexpr int kSampleShift = 7;

struct Job {
    const uint8_t* source;
    int sourceWidth, sourceHeight;
    ptrdiff_t sourceStride;
    uint8_t* dest;
    int destWidth, destHeight;
    ptrdiff_t destStride;
    int radius;
    const uint16_t* weights;
    int tileWidth;
};

// One thread's working rows: a source row with radius zero pixels each side,
// and a ring of the 2 * radius + 1 horizontally blurred rows that the
// vertical pass needs.
struct Scratch {
    std::vector<Sample> padded;
    std::vector<Sample> ring;
    std::vector<Sample> zero;  // stands for rows outside the source
    std::vector<Sample> row;   // one finished row before rounding
    std::vector<const Sample*> before, after;
};

// The products keep their high 16 bits, as SSE2's unsigned multiply-high does.
inline uint32_t MulHigh(uint32_t value, uint32_t weight)
{
    return (value * weight) >> 16;
}

#if defined(__SSE2__)
inline __m128i Load(const void* p)
{
    return _mm_loadu_si128(static_cast<const __m128i*>(p));
}
inline void Store(void* p, __m128i v)
{
    _mm_storeu_si128(static_cast<__m128i*>(p), v);
}
inline __m128i Tap(__m128i sum, const Sample* before, const Sample* after, __m128i weight)
{
    return _mm_add_epi16(sum, _mm_mulhi_epu16(_mm_add_epi16(Load(before), Load(after)), weight));
}
#endif

// out[i] = w[0] * centre[i] + sum over k of w[k] * (before[k][i] + after[k][i]).
void Convolve(const Sample* centre, const Sample* const* before, const Sample* const* after, const uint16_t* weights,
              int radius, Sample* out, size_t count)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i w0 = _mm_set1_epi16(static_cast<short>(weights[0]));
    for (; i + 32 <= count; i += 32) {
        __m128i a0 = _mm_mulhi_epu16(Load(centre + i), w0);
        __m128i a1 = _mm_mulhi_epu16(Load(centre + i + 8), w0);
        __m128i a2 = _mm_mulhi_epu16(Load(centre + i + 16), w0);
        __m128i a3 = _mm_mulhi_epu16(Load(centre + i + 24), w0);
        for (int k = 1; k <= radius; ++k) {
            const __m128i w = _mm_set1_epi16(static_cast<short>(weights[k]));
            const Sample* b = before[k] + i;
            const Sample* f = after[k] + i;
            a0 = Tap(a0, b, f, w);
            a1 = Tap(a1, b + 8, f + 8, w);
            a2 = Tap(a2, b + 16, f + 16, w);
            a3 = Tap(a3, b + 24, f + 24, w);
        }
        Store(out + i, a0);
        Store(out + i + 8, a1);
        Store(out + i + 16, a2);
        Store(out + i + 24, a3);
    }
    for (; i + 8 <= count; i += 8) {
        __m128i a = _mm_mulhi_epu16(Load(centre + i), w0);
        for (int k = 1; k <= radius; ++k) {
            a = Tap(a, before[k] + i, after[k] + i, _mm_set1_epi16(static_cast<short>(weights[k])));
        }
        Store(out + i, a);
    }
#endif
    for (; i < count; ++i) {
        uint32_t a = MulHigh(centre[i], weights[0]);
        for (int k = 1; k <= radius; ++k) a += MulHigh(before[k][i] + after[k][i], weights[k]);
        out[i] = static_cast<Sample>(a);
    }
}

void ToSamples(const uint8_t* bytes, Sample* out, size_t count)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= count; i += 16) {
        __m128i v = Load(bytes + i);
        Store(out + i, _mm_slli_epi16(_mm_unpacklo_epi8(v, zero), kSampleShift));
        Store(out + i + 8, _mm_slli_epi16(_mm_unpackhi_epi8(v, zero), kSampleShift));
    }
#endif
    for (; i < count; ++i) out[i] = static_cast<Sample>(bytes[i] << kSampleShift);
}

// Rounds back to bytes. The kept high halves of the products lose on average
// half a unit each, radius + 1 units over both passes; the bias gives them back.
void ToBytes(const Sample* values, uint8_t* out, size_t count, int radius)
{
    const int bias = (1 << (kSampleShift - 1)) + radius + 1;
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i add = _mm_set1_epi16(static_cast<short>(bias));
    for (; i + 16 <= count; i += 16) {
        __m128i lo = _mm_srli_epi16(_mm_add_epi16(Load(values + i), add), kSampleShift);
        __m128i hi = _mm_srli_epi16(_mm_add_epi16(Load(values + i + 8), add), kSampleShift);
        Store(out + i, _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < count; ++i) out[i] = static_cast<uint8_t>(std::min((values[i] + bias) >> kSampleShift, 255));
}

// Horizontal pass of one source row for dest columns [x0, x0 + width).
void BlurSourceRow(const Job& job, Scratch& scratch, int sourceY, int x0, int width, Sample* out)
{
    const int r = job.radius;
    // padded pixel p holds source column x0 - r + p.
    const int paddedPixels = width + 2 * r;
    const int first = std::clamp(r - x0, 0, paddedPixels);
    const int end = std::clamp(job.sourceWidth - x0 + r, first, paddedPixels);
    Sample* padded = scratch.padded.data();
    std::fill(padded, padded + static_cast<size_t>(first) * 4, 0);
    ToSamples(job.source + sourceY * job.sourceStride + static_cast<ptrdiff_t>(x0 - r + first) * 4,
              padded + static_cast<size_t>(first) * 4, static_cast<size_t>(end - first) * 4);
    std::fill(padded + static_cast<size_t>(end) * 4, padded + static_cast<size_t>(paddedPixels) * 4, 0);

    for (int k = 1; k <= r; ++k) {
        scratch.before[k] = padded + static_cast<size_t>(r - k) * 4;
        scratch.after[k] = padded + static_cast<size_t>(r + k) * 4;
    }
    Convolve(padded + static_cast<size_t>(r) * 4, scratch.before.data(), scratch.after.data(), job.weights, r, out,
             static_cast<size_t>(width) * 4);
}

void BlurTile(const Job& job, Scratch& scratch, int firstRow, int endRow, int x0, int width)
{
    const int r = job.radius;
    const int ringRows = 2 * r + 1;
    const size_t rowSamples = static_cast<size_t>(width) * 4;
    auto ringRow = [&](int sourceY) { return scratch.ring.data() + (sourceY % ringRows) * rowSamples; };
    auto rowOf = [&](int sourceY) -> const Sample* {
        return sourceY >= 0 && sourceY < job.sourceHeight ? ringRow(sourceY) : scratch.zero.data();
    };

    int nextRow = std::max(0, firstRow - r);
    for (int y = firstRow; y < endRow; ++y) {
        const int lastNeeded = std::min(y + r, job.sourceHeight - 1);
        for (; nextRow <= lastNeeded; ++nextRow) BlurSourceRow(job, scratch, nextRow, x0, width, ringRow(nextRow));
        for (int k = 1; k <= r; ++k) {
            scratch.before[k] = rowOf(y - k);
            scratch.after[k] = rowOf(y + k);
        }
        Convolve(rowOf(y), scratch.before.data(), scratch.after.data(), job.weights, r, scratch.row.data(), rowSamples);
        ToBytes(scratch.row.data(), job.dest + y * job.destStride + static_cast<ptrdiff_t>(x0) * 4, rowSamples, r);
    }
}

void BlurBand(const Job& job, Scratch& scratch, int firstRow, int endRow)
{
    for (int x0 = 0; x0 < job.destWidth; x0 += job.tileWidth) {
        BlurTile(job, scratch, firstRow, endRow, x0, std::min(job.tileWidth, job.destWidth - x0));
    }
}

// 16-bit fractions of a Gaussian cut at the radius; the centre takes what the
// rounding of the others left, so the whole kernel sums to one.
void Weights(float deviation, int radius, uint16_t* weights)
{
    if (radius == 0) {
        weights[0] = 0xFFFF;
        return;
    }
    const double sigma = std::min(deviation, kMaxDeviation);
    std::vector<double> raw(radius + 1);
    double sum = 0.0;
    for (int k = 0; k <= radius; ++k) {
        raw[k] = std::exp(-static_cast<double>(k) * k / (2.0 * sigma * sigma));
        sum += k == 0 ? raw[k] : 2.0 * raw[k];
    }
    long side = 0;
    for (int k = 1; k <= radius; ++k) {
        weights[k] = static_cast<uint16_t>(std::lround(raw[k] / sum * 65536.0));
        side += weights[k];
    }
    weights[0] = static_cast<uint16_t>(std::clamp(65536L - 2 * side, 0L, 65535L));
}


// Worker threads kept for the life of the process: starting a thread costs
// about as much as blurring a half-screen picture under Wine.
class BlurWorkers {
public:
    // Deliberately never destroyed: idle workers end with the process, and
    // nothing has to be joined while the runtime shuts down.
    static BlurWorkers& Instance()
    {
        static BlurWorkers* workers = new BlurWorkers;
        return *workers;
    }

    // Runs task(band) for every band in [0, count), the caller taking part.
    // A second caller while a run is going on does all its bands itself.
    void Run(int count, const std::function<void(int)>& task)
    {
        std::unique_lock<std::mutex> running(m_run, std::try_to_lock);
        if (!running.owns_lock() || m_threadCount == 0) {
            for (int band = 0; band < count; ++band) task(band);
            return;
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_task = &task;
            m_next = 0;
            m_count = count;
            m_unfinished = count;
            ++m_generation;
        }
        m_wake.notify_all();
        DoBands();
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait(lock, [&] { return m_unfinished == 0; });
        m_task = nullptr;
    }

private:
    BlurWorkers()
    {
        unsigned hardware = std::thread::hardware_concurrency();
        int wanted = std::min<int>(hardware ? static_cast<int>(hardware) - 1 : 0, kMaxBands - 1);
        for (int i = 0; i < wanted; ++i) {
            try {
                std::thread(&BlurWorkers::Work, this).detach();
                ++m_threadCount;
            } catch (const std::system_error&) {
                break;  // the ones made so far will do
            }
        }
    }

    // Takes bands until none is left; the last one done wakes the caller.
    void DoBands()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (m_task && m_next < m_count) {
            const int band = m_next++;
            const std::function<void(int)>* task = m_task;
            lock.unlock();
            (*task)(band);
            lock.lock();
            if (--m_unfinished == 0) m_done.notify_one();
        }
    }

    void Work()
    {
        unsigned long long seen = 0;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_wake.wait(lock, [&] { return m_generation != seen; });
                seen = m_generation;
            }
            DoBands();
        }
    }

    std::mutex m_run;  // one run at a time
    std::mutex m_mutex;
    std::condition_variable m_wake, m_done;
    const std::function<void(int)>* m_task = nullptr;
    int m_next = 0, m_count = 0, m_unfinished = 0;
    unsigned long long m_generation = 0;
    int m_threadCount = 0;
};

}  // namespace

int GaussianBlurRadius(float deviation)
{
    if (!(deviation > 0.0f)) return 0;  // also NaN
    return static_cast<int>(std::ceil(3.0f * std::min(deviation, kMaxDeviation)));
}

int GaussianBlurBandCount(int width, int height)
{
    if (width <= 0 || height <= 0) return 0;
    unsigned hardware = std::thread::hardware_concurrency();
    long long bands = static_cast<long long>(width) * height / kPixelsPerBand;
    bands = std::min<long long>({bands, hardware ? hardware : 1, kMaxBands, height});
    return static_cast<int>(std::max<long long>(bands, 1));
}

bool GaussianBlurBgra(const uint8_t* source, int sourceWidth, int sourceHeight, ptrdiff_t sourceStride,
                      uint8_t* dest, int destWidth, int destHeight, ptrdiff_t destStride, float deviation)
{
    if (!source || !dest) return false;
    if (sourceWidth <= 0 || sourceHeight <= 0 || destWidth <= 0 || destHeight <= 0) return false;
    if (sourceWidth > kMaxSide || sourceHeight > kMaxSide || destWidth > kMaxSide || destHeight > kMaxSide) return false;
    if (sourceStride < static_cast<ptrdiff_t>(sourceWidth) * 4 || destStride < static_cast<ptrdiff_t>(destWidth) * 4) {
        return false;
    }

    const int radius = GaussianBlurRadius(deviation);
    const int ringRows = 2 * radius + 1;
    const int bandCount = GaussianBlurBandCount(destWidth, destHeight);
    const int widest = std::max<int>(kMinTileWidth, static_cast<int>(kRingBytes / (ringRows * 4 * sizeof(Sample))));
    const int tiles = (destWidth + widest - 1) / widest;
    const int tileWidth = (destWidth + tiles - 1) / tiles;
    const size_t rowSamples = static_cast<size_t>(tileWidth) * 4;

    Job job = {};
    auto BandStart = [&](int index) {
        return static_cast<int>(static_cast<long long>(destHeight) * index / bandCount);
    };
    // Everything is allocated before the first row is written, so a failure
    // leaves dest as it was.
    std::vector<uint16_t> weights;
    std::vector<Scratch> scratch;
    std::function<void(int)> band;
    BlurWorkers* workers = nullptr;
    try {
        weights.resize(radius + 1);
        scratch.resize(bandCount);
        for (Scratch& s : scratch) {
            s.padded.resize(rowSamples + static_cast<size_t>(radius) * 8);
            s.ring.resize(rowSamples * ringRows);
            s.zero.assign(rowSamples, 0);
            s.row.resize(rowSamples);
            s.before.resize(radius + 1);
            s.after.resize(radius + 1);
        }
        band = [&](int index) { BlurBand(job, scratch[index], BandStart(index), BandStart(index + 1)); };
    } catch (const std::bad_alloc&) {
        return false;
    }
    try {
        workers = &BlurWorkers::Instance();
    } catch (const std::bad_alloc&) {
        workers = nullptr;  // the caller does every band
    }
    Weights(deviation, radius, weights.data());
    job = {source, sourceWidth, sourceHeight, sourceStride, dest, destWidth, destHeight, destStride,
           radius, weights.data(), tileWidth};
    if (workers) {
        workers->Run(bandCount, band);
    } else {
        for (int index = 0; index < bandCount; ++index) band(index);
    }
    return true;
}
