// A first-in first-out queue of interleaved float frames.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace vbmp3 {

class FrameQueue {
public:
    void reset(int channels)
    {
        channels_ = static_cast<std::size_t>(channels);
        clear();
    }
    void clear()
    {
        samples_.clear();
        head_ = 0;
    }
    int channels() const { return static_cast<int>(channels_); }
    std::size_t frames() const { return channels_ ? (samples_.size() - head_) / channels_ : 0; }
    bool empty() const { return frames() == 0; }
    const float* front() const { return samples_.data() + head_; }
    float* front() { return samples_.data() + head_; }

    void push(const float* interleaved, std::size_t frames)
    {
        if (head_ > 0 && head_ >= samples_.size() / 2) {
            samples_.erase(samples_.begin(), samples_.begin() + static_cast<std::ptrdiff_t>(head_));
            head_ = 0;
        }
        samples_.insert(samples_.end(), interleaved, interleaved + frames * channels_);
    }
    void pop(std::size_t frames)
    {
        head_ += std::min(frames, this->frames()) * channels_;
        if (head_ == samples_.size())
            clear();
    }

private:
    std::vector<float> samples_;
    std::size_t head_ = 0;
    std::size_t channels_ = 2;
};

} // namespace vbmp3
