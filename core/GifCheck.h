#pragma once
// A check of a GIF file's structure before the system's decoder sees it: the blocks, their
// lengths and the compressed codes of every image. Some decoders keep memory behind for
// each damaged file they refuse; a file refused here never reaches them.
#include <cstdint>
#include <span>
#include <string>

// True when the file is a GIF whose blocks all lie inside the data, with at least one
// image, each image's code size in 2..8 and each code one the decoder can know; otherwise
// false with the reason (plain ASCII) in error. The trailer may be missing at the end.
bool CheckGifStructure(std::span<const std::uint8_t> data, std::string& error);
