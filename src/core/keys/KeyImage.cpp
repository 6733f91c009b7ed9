#include "keys/KeyImage.h"

#include <algorithm>

namespace ombrel {

namespace {

constexpr std::uint16_t kBankATag = 0x0301;
constexpr std::uint16_t kBankBTag = 0x1301;
constexpr int kGKeysPerBank = 9;

bool validRecord(int n) {
    return n >= 0 && n < kKeyRecordCount;
}

std::size_t offsetOf(int n) {
    return kKeyImageHeaderSize + KeyRecord::kSize * static_cast<std::size_t>(n);
}

void tagGKeys(KeyImage& image, int layer) {
    for (int m = 0; m < kGKeySlots; ++m) {
        const int n = RecordNumber(layer, static_cast<KeyIndex>(kFirstGKeyIndex + m));
        KeyRecord r = image.record(n);
        r.extra = GKeyTag(m);
        image.setRecord(n, r);
    }
}

} // namespace

std::uint16_t GKeyTag(int m) {
    if (m < 0 || m >= kGKeySlots) return 0;
    return m < kGKeysPerBank ? static_cast<std::uint16_t>(kBankATag + m)
                             : static_cast<std::uint16_t>(kBankBTag + (m - kGKeysPerBank));
}

KeyImage::KeyImage() : m_bytes(kKeyImageSize, 0) {}

KeyRecord KeyImage::record(int n) const {
    if (!validRecord(n)) return {};
    return KeyRecord::readFrom(bytes().subspan(offsetOf(n)).first<KeyRecord::kSize>());
}

void KeyImage::setRecord(int n, const KeyRecord& record) {
    if (!validRecord(n)) return;
    record.writeTo(bytes().subspan(offsetOf(n)).first<KeyRecord::kSize>());
}

void InitKeyImage(KeyImage& image) {
    auto b = image.bytes();
    std::fill(b.begin() + kKeyImageHeaderSize, b.end(), std::uint8_t{0});
    tagGKeys(image, 0);
}

void ResetLayer(KeyImage& image, int layer) {
    if (layer < 0 || layer >= kKeyLayerCount) return;
    for (KeyIndex i = 0; i < kRecordsPerLayer; ++i)
        image.setRecord(RecordNumber(layer, i), KeyRecord{});
    tagGKeys(image, layer);
}

} // namespace ombrel
