#include "emulator/KeyboardModel.h"

#include "emulator/FactoryMemory.h"

#include <algorithm>

namespace ombrel::emu {

namespace {

enum Command : std::uint8_t {
    kBegin = 1,
    kEnd = 2,
    kReadConfig = 3,
    kWriteConfig = 4,
    kReadLighting = 5,
    kWriteLighting = 6,
    kReadKeymap = 7,
    kWriteKeymap = 8,
    kReadMacros = 9,
    kWriteMacros = 10,
    kReadDefaultKeymap = 15,
    kWriteKeyColors = 17,
};

bool rangeInside(std::size_t offset, std::size_t length, std::size_t size) {
    return offset <= size && length <= size - offset;
}

} // namespace

KeyboardModel::KeyboardModel() : m_memory(FactoryMemory()) {}

void KeyboardModel::resetToFactory() {
    m_memory = FactoryMemory();
    m_bootMode = false;
    m_inBracket = false;
    m_unsaved = true;
}

void KeyboardModel::setMemory(const KeyboardMemory& memory) {
    m_memory = memory;
    m_unsaved = false;
}

Report KeyboardModel::makeReply(const Report& request, std::uint8_t status) {
    Report reply;
    reply.setCommand(request.command());
    reply.setLength(request.length());
    reply.setOffset(request.offset());
    reply.setStatus(status);
    reply.seal();
    return reply;
}

std::optional<Report> KeyboardModel::handleReport(std::span<const std::uint8_t, Report::kSize> bytes) {
    const Report request = Report::fromBytes(bytes);
    if (request.bytes[0] != Report::kReportId) return std::nullopt;
    if (request.command() == kBootCommand && request.length() == kBootCommand) {
        m_bootMode = true;
        return std::nullopt;
    }
    Report reply = makeReply(request, kStatusOk);
    std::uint8_t status = kStatusOk;
    if (!request.sumMatches()) {
        status = kStatusBadSum;
    } else if (request.length() > Report::kPayloadSize) {
        status = kStatusRefused;
    } else {
        switch (request.command()) {
        case kBegin:
            m_inBracket = true;
            break;
        case kEnd:
            m_inBracket = false;
            break;
        case kReadConfig:
            status = readInto(Area::Config, request, reply);
            break;
        case kWriteConfig:
            status = writeFrom(Area::Config, request);
            break;
        case kReadLighting:
            status = readLightingWindow(request, reply);
            break;
        case kWriteLighting:
            status = writeFrom(Area::Lighting, request);
            break;
        case kReadKeymap:
            status = readInto(Area::Keymap, request, reply);
            break;
        case kWriteKeymap:
            status = writeFrom(Area::Keymap, request);
            break;
        case kReadMacros:
            status = readInto(Area::Macros, request, reply);
            break;
        case kWriteMacros:
            status = writeFrom(Area::Macros, request);
            break;
        case kReadDefaultKeymap:
            status = readInto(Area::DefaultKeymap, request, reply);
            break;
        case kWriteKeyColors:
            status = writeFrom(Area::KeyColors, request);
            break;
        default:
            status = kStatusRefused;
            break;
        }
    }
    reply.setStatus(status);
    reply.seal();
    return reply;
}

std::uint8_t KeyboardModel::readInto(Area area, const Report& request, Report& reply) const {
    const std::size_t offset = request.offset();
    const std::size_t length = request.length();
    if (!rangeInside(offset, length, m_memory.addressableSize(area))) return kStatusRefused;
    const auto source = m_memory.storage(area).subspan(offset, length);
    std::copy(source.begin(), source.end(), reply.payload().begin());
    return kStatusOk;
}

std::uint8_t KeyboardModel::readLightingWindow(const Report& request, Report& reply) const {
    const std::size_t offset = request.offset();
    const std::size_t size = m_memory.addressableSize(Area::Lighting);
    if (offset >= size) return kStatusRefused;
    const std::size_t n = std::min(Report::kPayloadSize, size - offset);
    const auto source = m_memory.storage(Area::Lighting).subspan(offset, n);
    std::copy(source.begin(), source.end(), reply.payload().begin());
    return kStatusOk;
}

std::uint8_t KeyboardModel::writeFrom(Area area, const Report& request) {
    const std::size_t offset = request.offset();
    const std::size_t length = request.length();
    if (!rangeInside(offset, length, m_memory.addressableSize(area))) return kStatusRefused;
    store(m_memory.storage(area).subspan(offset, length), request.payload().first(length));
    return kStatusOk;
}

void KeyboardModel::store(std::span<std::uint8_t> target, std::span<const std::uint8_t> bytes) {
    if (std::equal(bytes.begin(), bytes.end(), target.begin())) return;
    std::copy(bytes.begin(), bytes.end(), target.begin());
    m_unsaved = true;
}

bool KeyboardModel::readArea(Area area, std::size_t offset, std::span<std::uint8_t> out) const {
    const auto storage = m_memory.storage(area);
    if (!rangeInside(offset, out.size(), storage.size())) return false;
    std::copy_n(storage.begin() + static_cast<long>(offset), out.size(), out.begin());
    return true;
}

bool KeyboardModel::writeArea(Area area, std::size_t offset, std::span<const std::uint8_t> in) {
    const auto storage = m_memory.storage(area);
    if (!rangeInside(offset, in.size(), storage.size())) return false;
    store(storage.subspan(offset, in.size()), in);
    return true;
}

} // namespace ombrel::emu
