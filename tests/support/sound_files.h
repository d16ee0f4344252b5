// Small real sound files written byte by byte: a PCM wave, a one-note MIDI
// song and a silent MPEG-1 Layer III stream.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

namespace testsupport {

inline void PutLE(std::string& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void PutBE(std::string& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// 16-bit mono PCM at 22050 Hz: a 440 Hz tone of `seconds`.
inline std::string WaveFile(double seconds) {
    const uint32_t rate = 22050;
    const auto samples = static_cast<uint32_t>(seconds * rate);
    std::string out = "RIFF";
    PutLE(out, 36 + samples * 2, 4);
    out += "WAVEfmt ";
    PutLE(out, 16, 4);
    PutLE(out, 1, 2);  // PCM
    PutLE(out, 1, 2);  // mono
    PutLE(out, rate, 4);
    PutLE(out, rate * 2, 4);
    PutLE(out, 2, 2);
    PutLE(out, 16, 2);
    out += "data";
    PutLE(out, samples * 2, 4);
    for (uint32_t i = 0; i < samples; ++i) {
        const double s = std::sin(2 * 3.14159265358979 * 440.0 * i / rate);
        PutLE(out, static_cast<uint16_t>(static_cast<int16_t>(s * 8000)), 2);
    }
    return out;
}

// Format 0, 96 ticks per quarter at the default 120 bpm: one a' held for `quarters` quarters.
inline std::string MidiFile(int quarters) {
    std::string track;
    track += std::string("\x00\x90\x45\x60", 4);  // note on
    const uint32_t ticks = static_cast<uint32_t>(quarters) * 96;
    // Variable-length delta time.
    std::string vlq(1, static_cast<char>(ticks & 0x7F));
    for (uint32_t t = ticks >> 7; t; t >>= 7) vlq.insert(vlq.begin(), static_cast<char>(0x80 | (t & 0x7F)));
    track += vlq;
    track += std::string("\x80\x45\x40", 3);      // note off
    track += std::string("\x00\xFF\x2F\x00", 4);  // end of track
    std::string out = "MThd";
    PutBE(out, 6, 4);
    PutBE(out, 0, 2);
    PutBE(out, 1, 2);
    PutBE(out, 96, 2);
    out += "MTrk";
    PutBE(out, static_cast<uint32_t>(track.size()), 4);
    return out + track;
}

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, mono frames of 417 bytes whose side
// information and main data are all zero: valid frames that decode to silence.
inline std::string Mp3File(double seconds) {
    const int frames = static_cast<int>(seconds * 44100 / 1152) + 1;
    std::string frame("\xFF\xFB\x90\xC0", 4);
    frame.resize(417, '\0');
    std::string out;
    for (int i = 0; i < frames; ++i) out += frame;
    return out;
}

}  // namespace testsupport
