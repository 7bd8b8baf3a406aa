#include "link/frameformat.h"

#include "link/byteorder.h"
#include "link/utf16.h"

namespace linkframe {

std::vector<uint8_t> Encode(std::u16string_view id, std::span<const uint8_t> data) {
    std::vector<uint8_t> frame;
    frame.reserve(2 * kLengthSize + 2 * id.size() + data.size());
    linkbytes::AppendBE(frame, 2 * id.size(), kLengthSize);
    linkutf16::AppendLE(frame, id);
    linkbytes::AppendBE(frame, data.size(), kLengthSize);
    frame.insert(frame.end(), data.begin(), data.end());
    return frame;
}

std::vector<uint8_t> Encode(IMessageData& record) {
    TMemoryStream& stream = record.Data().Storage();
    stream.SeekToEnd();
    return Encode(record.ID(), stream.Bytes());
}

std::vector<uint8_t> EncodeFailureMarker() {
    std::vector<uint8_t> frame;
    linkbytes::AppendBE(frame, static_cast<uint64_t>(kFailureMarker), kLengthSize);
    return frame;
}

}  // namespace linkframe
