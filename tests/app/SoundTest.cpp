#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "TempFolder.h"
#include "app/Sound.h"

using namespace std::chrono_literals;

namespace {

// The device format of the player's output: what the disk driver writes.
constexpr int kRate = 44100;
constexpr std::size_t kFrameBytes = 4;  // 16-bit stereo
// Bytes the device may already have taken from a sound when it is stopped.
constexpr std::size_t kDeviceSlack = 3 * 1024 * kFrameBytes;

void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>((value >> 8) & 0xff);
}
void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}

// A PCM WAV file with the given sample bytes.
std::string Wav(int channels, int rate, int bits, const std::string& samples) {
    std::string out = "RIFF";
    Put32(out, static_cast<std::uint32_t>(36 + samples.size()));
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, static_cast<std::uint32_t>(channels));
    Put32(out, static_cast<std::uint32_t>(rate));
    Put32(out, static_cast<std::uint32_t>(rate * channels * bits / 8));
    Put16(out, static_cast<std::uint32_t>(channels * bits / 8));
    Put16(out, static_cast<std::uint32_t>(bits));
    out += "data";
    Put32(out, static_cast<std::uint32_t>(samples.size()));
    return out + samples;
}

// 16-bit stereo samples in the device format where no frame is silent, so the sound can be
// told from the silence around it and compared byte for byte.
std::string DeviceSamples(int frames) {
    std::string out;
    for (int i = 0; i < frames; ++i) {
        Put16(out, static_cast<std::uint16_t>(1000 + i));
        Put16(out, static_cast<std::uint16_t>(-(1000 + i)));
    }
    return out;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

bool IsSilent(const std::string& bytes, std::size_t from) {
    for (std::size_t i = from; i < bytes.size(); ++i) {
        if (bytes[i] != 0) return false;
    }
    return true;
}

class SoundTest : public testing::Test {
protected:
    void SetUp() override {
        // Read when the first sound opens the device, which happens inside each test.
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", m_output.string().c_str(), 1);
    }

    std::wstring WriteFile(const std::string& name, const std::string& bytes) const {
        return m_folder.Write(name, bytes).wstring();
    }

    // What the device has written so far, whole frames only.
    std::string Output() const {
        std::ifstream in(m_output, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bytes.resize(bytes.size() - bytes.size() % kFrameBytes);
        return bytes;
    }
    std::size_t OutputSize() const {
        std::error_code error;
        const auto size = std::filesystem::file_size(m_output, error);
        return error ? 0 : static_cast<std::size_t>(size);
    }
    bool WaitForOutput(std::size_t bytes) const {
        return WaitUntil([&] { return OutputSize() >= bytes; }, 10s);
    }
    // Where the first sounding frame starts; npos when all is silent.
    static std::size_t SoundStart(const std::string& bytes) {
        for (std::size_t i = 0; i + kFrameBytes <= bytes.size(); i += kFrameBytes) {
            if (!IsSilent(bytes.substr(i, kFrameBytes), 0)) return i;
        }
        return std::string::npos;
    }

    testsupport::TempFolder m_folder;
    std::filesystem::path m_output = m_folder / "device.raw";
};

}  // namespace

TEST_F(SoundTest, LoopingSoundRepeatsUntilStopped) {
    const std::string samples = DeviceSamples(kRate / 20);
    CSound sound(WriteFile("loop.wav", Wav(2, kRate, 16, samples)));
    ASSERT_TRUE(sound.IsOk());
    ASSERT_TRUE(sound.Play(kSoundAsync | kSoundLoop));
    EXPECT_TRUE(sound.IsPlaying());
    ASSERT_TRUE(WaitForOutput(6 * samples.size()));

    const std::string played = Output();
    const std::size_t start = SoundStart(played);
    ASSERT_NE(start, std::string::npos);
    ASSERT_GT(played.size() - start, 3 * samples.size());
    for (std::size_t i = start; i < played.size(); ++i) {
        ASSERT_EQ(played[i], samples[(i - start) % samples.size()]) << "byte " << i;
    }
    EXPECT_TRUE(sound.IsPlaying());

    CSound::Stop();
    EXPECT_FALSE(sound.IsPlaying());
    const std::size_t stoppedAt = OutputSize();
    ASSERT_TRUE(WaitForOutput(stoppedAt + kDeviceSlack + 8 * 1024));
    EXPECT_TRUE(IsSilent(Output(), stoppedAt + kDeviceSlack));
}

TEST_F(SoundTest, SinglePlayPlaysOnceThenSilence) {
    const std::string samples = DeviceSamples(kRate / 10);
    CSound sound(WriteFile("once.wav", Wav(2, kRate, 16, samples)));
    ASSERT_TRUE(sound.Play(kSoundAsync));
    ASSERT_TRUE(WaitUntil([&] { return !sound.IsPlaying(); }, 5s));
    ASSERT_TRUE(WaitForOutput(OutputSize() + 8 * 1024));

    const std::string played = Output();
    const std::size_t start = SoundStart(played);
    ASSERT_NE(start, std::string::npos);
    ASSERT_GE(played.size(), start + samples.size());
    EXPECT_EQ(played.substr(start, samples.size()), samples);
    EXPECT_TRUE(IsSilent(played, start + samples.size()));

    // Playing again starts from the beginning.
    const std::size_t before = OutputSize();
    ASSERT_TRUE(sound.Play(kSoundAsync));
    ASSERT_TRUE(WaitUntil([&] { return !sound.IsPlaying(); }, 5s));
    ASSERT_TRUE(WaitForOutput(OutputSize() + 8 * 1024));
    const std::string again = Output();
    const std::size_t restart = before - before % kFrameBytes;
    const std::size_t second = SoundStart(again.substr(restart)) + restart;
    EXPECT_EQ(again.substr(second, samples.size()), samples);
}

TEST_F(SoundTest, SynchronousPlayReturnsWhenTheSoundHasEnded) {
    CSound sound(WriteFile("sync.wav", Wav(2, kRate, 16, DeviceSamples(kRate * 3 / 10))));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(sound.Play(kSoundSync));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, 200ms);
    EXPECT_LT(elapsed, 5s);
    EXPECT_FALSE(sound.IsPlaying());
    // A synchronous loop would never return.
    EXPECT_FALSE(sound.Play(kSoundSync | kSoundLoop));
}

TEST_F(SoundTest, OneSoundPlaysAtATime) {
    const std::string wav = Wav(2, kRate, 16, DeviceSamples(kRate / 20));
    CSound first(WriteFile("first.wav", wav));
    CSound second(WriteFile("second.wav", wav));
    ASSERT_TRUE(first.Play(kSoundAsync | kSoundLoop));
    second.StopPlayback();  // not the one playing: no effect
    EXPECT_TRUE(first.IsPlaying());

    ASSERT_TRUE(second.Play(kSoundAsync | kSoundLoop));
    EXPECT_FALSE(first.IsPlaying());
    EXPECT_TRUE(second.IsPlaying());
    second.StopPlayback();
    EXPECT_FALSE(second.IsPlaying());

    ASSERT_TRUE(first.Play(kSoundAsync | kSoundLoop));
    CSound::Stop();
    EXPECT_FALSE(first.IsPlaying());
}

TEST_F(SoundTest, ConvertsOtherFormatsToTheDevice) {
    // 8-bit mono at half the rate, a constant level: about 4410 sounding frames at the device.
    CSound sound(WriteFile("mono8.wav", Wav(1, kRate / 2, 8, std::string(kRate / 20, '\xc0'))));
    ASSERT_TRUE(sound.IsOk());
    ASSERT_TRUE(sound.Play(kSoundAsync));
    ASSERT_TRUE(WaitUntil([&] { return !sound.IsPlaying(); }, 5s));
    ASSERT_TRUE(WaitForOutput(OutputSize() + 8 * 1024));

    const std::string played = Output();
    std::size_t sounding = 0;
    for (std::size_t i = 0; i < played.size(); i += kFrameBytes) {
        if (!IsSilent(played.substr(i, kFrameBytes), 0)) ++sounding;
    }
    EXPECT_GT(sounding, 4300u);
    EXPECT_LT(sounding, 4500u);
}

TEST_F(SoundTest, FilesThatAreNoSoundAreRefused) {
    std::string truncated = Wav(2, kRate, 16, DeviceSamples(100));
    truncated.resize(30);  // inside the format chunk
    std::string noChannels = Wav(0, kRate, 16, DeviceSamples(100));
    const std::pair<const char*, std::string> files[] = {
        {"text.wav", "this is not a sound at all"},
        {"empty.wav", ""},
        {"truncated.wav", truncated},
        {"nochannels.wav", noChannels},
        {"notwav.wav", std::string("RIFF\x10\0\0\0AVI LIST", 16)},
    };
    for (const auto& [name, bytes] : files) {
        CSound sound(WriteFile(name, bytes));
        EXPECT_FALSE(sound.IsOk()) << name;
        EXPECT_FALSE(sound.Play(kSoundAsync | kSoundLoop)) << name;
        EXPECT_FALSE(sound.IsPlaying()) << name;
        sound.StopPlayback();
    }
    CSound missing((m_folder / "missing.wav").wstring());
    EXPECT_FALSE(missing.IsOk());
    EXPECT_FALSE(missing.Play(kSoundSync));
    CSound::Stop();
}

TEST_F(SoundTest, RemovesItsFileOnlyWhenAsked) {
    const std::wstring kept = WriteFile("kept.wav", Wav(2, kRate, 16, DeviceSamples(10)));
    const std::wstring removed = WriteFile("removed.wav", Wav(2, kRate, 16, DeviceSamples(10)));
    const std::wstring damaged = WriteFile("damaged.wav", "RIFF");
    {
        CSound keep(kept);
        CSound remove(removed);
        remove.RemoveFileOnDestroy();
        ASSERT_TRUE(remove.Play(kSoundAsync | kSoundLoop));
        CSound broken(damaged);
        broken.RemoveFileOnDestroy();
        EXPECT_TRUE(std::filesystem::exists(removed));  // still needed while it exists
    }
    EXPECT_TRUE(std::filesystem::exists(kept));
    EXPECT_FALSE(std::filesystem::exists(removed));
    EXPECT_FALSE(std::filesystem::exists(damaged));
}

TEST_F(SoundTest, WithoutAudioDeviceEverythingGoesOnSilently) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    CSound sound(WriteFile("quiet.wav", Wav(2, kRate, 16, DeviceSamples(kRate / 20))));
    EXPECT_TRUE(sound.IsOk());
    EXPECT_FALSE(sound.Play(kSoundAsync | kSoundLoop));
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_FALSE(sound.Play(kSoundSync));
    sound.StopPlayback();
    CSound::Stop();
    EXPECT_FALSE(std::filesystem::exists(m_output));
}
