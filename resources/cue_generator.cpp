// Writes the plug-in's two sound cues as RIFF WAVE files: IEEE float samples (format tag
// 3), 2 channels, 44100 Hz, 32 bits per sample.
//   101 salvo_warning.wav   a two-tone alarm of about 2.1 s (740,400 data bytes)
//   102 counter_attack.wav  a launch: thump and receding whoosh, about 1.9 s (679,544)
// Run on the build machine at build time: rotorstrike-cues OUTPUT_DIR.
//
// The bytes are the same on every machine: only IEEE-exact operations (+ - * /, floor,
// fmod) are used, with a sine polynomial and a noise generator of our own instead of the C
// library's.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kSampleRate = 44100;
constexpr uint32_t kChannels = 2;
constexpr uint32_t kBytesPerSample = 4;
constexpr uint32_t kFrameBytes = kChannels * kBytesPerSample;
constexpr double kPi = 3.14159265358979323846;

struct Frame {
    double left;
    double right;
};

// sin(2 pi turns), from its Taylor series on [0, pi/2] (error below 1e-9).
double sineTurns(double turns) {
    double t = turns - std::floor(turns);
    double sign = 1.0;
    if (t >= 0.5) {
        t -= 0.5;
        sign = -1.0;
    }
    if (t > 0.25) t = 0.5 - t;
    const double x = 2.0 * kPi * t;
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 7; ++n) {
        term = -term * x2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sign * sum;
}

// White noise in [-1, 1) from a 32-bit xorshift generator.
class Noise {
public:
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    uint32_t state_ = 0x2545F491u;
};

// A linear ramp from 0 to 1 over [start, end], clamped outside it.
double ramp(double t, double start, double end) {
    if (t <= start) return 0.0;
    if (t >= end) return 1.0;
    return (t - start) / (end - start);
}

// The salvo warning: six alarm beeps of 0.25 s every 0.35 s, alternating 1320 Hz and
// 990 Hz, each bending up a little; a square-ish tone of odd harmonics.
std::vector<Frame> salvoWarning(uint32_t frames) {
    std::vector<Frame> out(frames);
    constexpr double kPeriod = 0.35;
    constexpr double kBeep = 0.25;
    double phase = 0.0;
    for (uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double beepIndex = std::floor(t / kPeriod);
        const double inBeep = t - beepIndex * kPeriod;
        const bool high = std::fmod(beepIndex, 2.0) == 0.0;
        const double base = high ? 1320.0 : 990.0;
        const double frequency = base * (1.0 + 0.06 * inBeep / kBeep);
        phase += frequency / kSampleRate;
        phase -= std::floor(phase);
        double sample = 0.0;
        if (inBeep < kBeep) {
            const double envelope =
                ramp(inBeep, 0.0, 0.004) * (1.0 - ramp(inBeep, kBeep - 0.02, kBeep));
            const double tone = sineTurns(phase) + sineTurns(3.0 * phase) / 3.0 +
                                sineTurns(5.0 * phase) / 5.0 + sineTurns(7.0 * phase) / 7.0;
            sample = envelope * tone;
        }
        out[i] = {sample, sample};
    }
    return out;
}

// The counter-attack launch: a low thump falling from 90 Hz to 40 Hz, and a burst of
// noise whose brightness falls as it recedes, panning from the centre to the right.
std::vector<Frame> counterAttackLaunch(uint32_t frames) {
    std::vector<Frame> out(frames);
    const double duration = static_cast<double>(frames) / kSampleRate;
    Noise noise;
    double thumpPhase = 0.0;
    double low1 = 0.0;
    double low2 = 0.0;
    for (uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;

        double thump = 0.0;
        if (t < 0.3) {
            const double decay = 1.0 - t / 0.3;
            thumpPhase += (40.0 + 50.0 * decay) / kSampleRate;
            thumpPhase -= std::floor(thumpPhase);
            thump = 0.6 * ramp(t, 0.0, 0.003) * decay * decay * decay * sineTurns(thumpPhase);
        }

        // Two one-pole low-pass filters; a = x / (1 + x) stands in for 1 - e^-x.
        const double cutoff = 3200.0 - 2800.0 * ramp(t, 0.0, duration);
        const double x = 2.0 * kPi * cutoff / kSampleRate;
        const double a = x / (1.0 + x);
        low1 += a * (noise.next() - low1);
        low2 += a * (low1 - low2);
        const double fall = 1.0 - ramp(t, 0.05, duration);
        const double envelope = ramp(t, 0.0, 0.04) * (0.25 + 0.75 * fall * fall);
        const double whoosh = 1.8 * envelope * (1.0 - ramp(t, duration - 0.15, duration)) * low2;

        // Pan by a quarter turn of the sine: equal power from the centre to the right.
        const double pan = 0.125 + 0.1 * ramp(t, 0.1, duration);
        const double left = sineTurns(0.25 - pan) * 1.4142135623730951;
        const double right = sineTurns(pan) * 1.4142135623730951;
        out[i] = {thump + left * whoosh, thump + right * whoosh};
    }
    return out;
}

void putU16(std::string& bytes, uint32_t value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>((value >> 8) & 0xFF);
}

void putU32(std::string& bytes, uint32_t value) {
    putU16(bytes, value & 0xFFFF);
    putU16(bytes, value >> 16);
}

// A WAVEFORMATEX "fmt " chunk (cbSize 0) and a "fact" chunk, as non-PCM data asks.
std::string waveFile(const std::vector<Frame>& frames) {
    const auto count = static_cast<uint32_t>(frames.size());
    const uint32_t dataBytes = count * kFrameBytes;
    std::string bytes;
    bytes.reserve(58 + dataBytes);
    bytes += "RIFF";
    putU32(bytes, 4 + (8 + 18) + (8 + 4) + (8 + dataBytes));
    bytes += "WAVEfmt ";
    putU32(bytes, 18);
    putU16(bytes, 3);  // WAVE_FORMAT_IEEE_FLOAT
    putU16(bytes, kChannels);
    putU32(bytes, kSampleRate);
    putU32(bytes, kSampleRate * kFrameBytes);
    putU16(bytes, kFrameBytes);
    putU16(bytes, kBytesPerSample * 8);
    putU16(bytes, 0);
    bytes += "fact";
    putU32(bytes, 4);
    putU32(bytes, count);
    bytes += "data";
    putU32(bytes, dataBytes);
    for (const Frame& frame : frames) {
        for (const double value : {frame.left, frame.right}) {
            const auto sample = static_cast<float>(value);
            uint32_t bits = 0;
            std::memcpy(&bits, &sample, sizeof bits);
            putU32(bytes, bits);
        }
    }
    return bytes;
}

// Scales a cue so that its loudest sample stands at 0.8 of full scale.
std::vector<Frame> normalized(std::vector<Frame> frames) {
    double peak = 0.0;
    for (const Frame& frame : frames) {
        peak = std::fmax(peak, std::fmax(std::fabs(frame.left), std::fabs(frame.right)));
    }
    const double gain = 0.8 / peak;
    for (Frame& frame : frames) frame = {frame.left * gain, frame.right * gain};
    return frames;
}

bool writeCue(const std::string& path, const std::vector<Frame>& frames) {
    const std::string bytes = waveFile(frames);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rotorstrike-cues OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    // The data chunk sizes are the cues' given lengths: 740,400 and 679,544 bytes.
    const bool ok =
        writeCue(dir + "/salvo_warning.wav", normalized(salvoWarning(740400 / kFrameBytes))) &&
        writeCue(dir + "/counter_attack.wav",
                 normalized(counterAttackLaunch(679544 / kFrameBytes)));
    return ok ? 0 : 1;
}
