#include "emulator/KeyboardModel.h"

#include "emulator/FactoryMemory.h"

#include <algorithm>
#include <array>

namespace ombrel::emu {

namespace {

constexpr std::uint8_t kBegin = 1;
constexpr std::uint8_t kEnd = 2;

enum class Access { Read, ReadWindow, Write };

// The commands that move bytes, with the area each one addresses.
struct MemoryCommand {
    std::uint8_t command;
    Area area;
    Access access;
};
constexpr std::array<MemoryCommand, 10> kMemoryCommands{{
    {3, Area::Config, Access::Read},
    {4, Area::Config, Access::Write},
    {5, Area::Lighting, Access::ReadWindow},
    {6, Area::Lighting, Access::Write},
    {7, Area::Keymap, Access::Read},
    {8, Area::Keymap, Access::Write},
    {9, Area::Macros, Access::Read},
    {10, Area::Macros, Access::Write},
    {15, Area::DefaultKeymap, Access::Read},
    {17, Area::KeyColors, Access::Write},
}};

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

std::optional<Frame> KeyboardModel::handleReport(std::span<const std::uint8_t, Frame::kSize> bytes) {
    const Frame request = Frame::received(bytes);
    if (request.reportId() != Frame::kReportId) return std::nullopt;
    if (request.command() == kBootCommand && request.length() == kBootCommand) {
        m_bootMode = true;
        return std::nullopt;
    }
    Frame reply = Frame::replyTo(request, kStatusOk);
    std::uint8_t status = kStatusOk;
    if (!request.checksumOk()) {
        status = kStatusBadSum;
    } else if (request.length() > Frame::kDataSize) {
        status = kStatusRefused;
    } else {
        status = execute(request, reply);
    }
    reply.setStatus(status);
    reply.stampChecksum();
    return reply;
}

std::uint8_t KeyboardModel::execute(const Frame& request, Frame& reply) {
    if (request.command() == kBegin || request.command() == kEnd) {
        m_inBracket = request.command() == kBegin;
        return kStatusOk;
    }
    for (const MemoryCommand& c : kMemoryCommands) {
        if (c.command != request.command()) continue;
        if (c.access == Access::Write) return writeFrom(c.area, request);
        return readInto(c.area, request, reply,
                        c.access == Access::ReadWindow ? ReadSize::WholeWindow : ReadSize::Length);
    }
    return kStatusRefused;
}

std::uint8_t KeyboardModel::readInto(Area area, const Frame& request, Frame& reply, ReadSize size) const {
    const std::size_t offset = request.offset();
    const std::size_t areaSize = m_memory.addressableSize(area);
    std::size_t n = request.length();
    if (size == ReadSize::WholeWindow) {
        // Only the offset has to lie inside; the window past the area's end reads as zeros.
        if (offset >= areaSize) return kStatusRefused;
        n = std::min(Frame::kDataSize, areaSize - offset);
    } else if (!rangeInside(offset, n, areaSize)) {
        return kStatusRefused;
    }
    const auto source = m_memory.storage(area).subspan(offset, n);
    std::copy(source.begin(), source.end(), reply.payload().begin());
    return kStatusOk;
}

std::uint8_t KeyboardModel::writeFrom(Area area, const Frame& request) {
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
