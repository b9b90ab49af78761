#include "tarn/win32/PictureDecoder.h"

namespace tarn::win32 {

bool ReadAnimationHeader(const std::uint8_t* data, std::size_t size,
                         const SAnimationLimits& limits, SPictureHeader& header,
                         std::string& error) {
    if (!ReadPictureHeader(EPictureFormat::Gif, data, size, limits.picture, header, error)) {
        return false;
    }
    const auto fail = [&error](std::string reason) {
        error = std::move(reason);
        return false;
    };
    if (!header.complete) return fail("is cut short");
    const std::int64_t canvas = std::int64_t{header.width} * header.height;
    if (header.frames.size() > limits.maxFrames ||
        canvas * static_cast<std::int64_t>(header.frames.size()) > limits.maxTotalPixels) {
        return fail("has " + std::to_string(header.frames.size()) + " frames of " +
                    std::to_string(canvas) + " pixels, more than is read");
    }
    return true;
}

bool DecodeAnimation(const std::uint8_t* data, std::size_t size, const SAnimationLimits& limits,
                     std::vector<SAnimationFrame>& frames, std::string& error) {
    frames.clear();
    const auto keep = [&frames](const SAnimationFrame& frame) {
        frames.push_back(frame);
        return true;
    };
    if (DecodeAnimation(data, size, limits, keep, error)) return true;
    frames.clear();
    return false;
}

}  // namespace tarn::win32
