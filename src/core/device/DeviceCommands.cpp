#include "device/DeviceCommands.h"

#include "device/LinkResult.h"
#include "device/Report.h"

#include <algorithm>
#include <thread>

namespace ombrel {

namespace {

constexpr std::uint32_t kMaxOffset = 0xFFFF;

LinkResult statusResult(const Report& reply) {
    if (reply.status() == 0xFF) return LINK_STATUS_FF;
    if (reply.status() == 0xFE) return LINK_STATUS_FE;
    if (reply.status() == 0xFD) return LINK_NOT_KEPT;
    return LINK_OK;
}

LinkResult exchangeSealed(ReportExchange& ex, Report& request, Report& reply, int* replyLength) {
    request.seal();
    reply.bytes.fill(0);
    return ex.ExchangeReport(request.bytes.data(), Report::kSize, reply.bytes.data(), Report::kSize, replyLength);
}

} // namespace

LinkResult DeviceCommands::single(std::uint8_t command, std::uint8_t length, std::uint32_t offset,
                                  std::span<const std::uint8_t> payload, std::span<std::uint8_t> replyPayload) {
    if (offset > kMaxOffset || payload.size() > kChunkSize || replyPayload.size() > kChunkSize)
        return LINK_BAD_ARGUMENT;
    Report request;
    request.setCommand(command);
    request.setLength(length);
    request.setOffset(static_cast<std::uint16_t>(offset));
    std::copy(payload.begin(), payload.end(), request.payload().begin());

    Report reply;
    int replyLength = 0;
    const LinkResult result = exchangeSealed(m_exchange, request, reply, &replyLength);
    if (result != LINK_OK) return result;
    if (const LinkResult status = statusResult(reply); status != LINK_OK) return status;
    // The data must really be there: a cut reply would otherwise hand back zeros as if the keyboard held them.
    if (static_cast<std::size_t>(replyLength) < Report::kPayloadOffset + replyPayload.size()) return LINK_SHORT_REPLY;
    std::copy_n(reply.payload().begin(), replyPayload.size(), replyPayload.begin());
    return LINK_OK;
}

LinkResult DeviceCommands::readChunked(std::uint8_t command, std::uint32_t base, std::span<std::uint8_t> out) {
    const std::size_t size = out.size();
    if (size && base + size - 1 > kMaxOffset) return LINK_BAD_ARGUMENT;
    for (std::size_t k = 0; k < size; k += kChunkSize) {
        const std::size_t length = std::min(kChunkSize, size - k);
        const LinkResult result = single(command, static_cast<std::uint8_t>(length),
                                         static_cast<std::uint32_t>(base + k), {}, out.subspan(k, length));
        if (result != LINK_OK) return result;
    }
    return LINK_OK;
}

LinkResult DeviceCommands::writeChunked(std::uint8_t command, std::uint32_t base, std::span<const std::uint8_t> in) {
    const std::size_t size = in.size();
    if (size && base + size - 1 > kMaxOffset) return LINK_BAD_ARGUMENT;
    // The request is reused from chunk to chunk: payload bytes past a short last chunk keep the previous chunk's
    // data, which the keyboard ignores and the sum covers.
    Report request;
    request.setCommand(command);
    for (std::size_t k = 0; k < size; k += kChunkSize) {
        const std::size_t length = std::min(kChunkSize, size - k);
        request.setLength(static_cast<std::uint8_t>(length));
        request.setOffset(static_cast<std::uint16_t>(base + k));
        std::copy_n(in.begin() + static_cast<std::ptrdiff_t>(k), length, request.payload().begin());
        Report reply;
        int replyLength = 0;
        LinkResult result = exchangeSealed(m_exchange, request, reply, &replyLength);
        if (result == LINK_OK) result = statusResult(reply);
        if (result != LINK_OK) return result;
    }
    return LINK_OK;
}

void DeviceCommands::beforeWrite() {
    if (m_observing || m_observedOpen) return;
    m_observedOpen = true;
    m_observedResult = LINK_OK;
    if (!m_observer.before) return;
    m_observing = true;
    m_observer.before();
    m_observing = false;
}

LinkResult DeviceCommands::afterWrite(LinkResult result) {
    if (m_observing) return result;
    if (result != LINK_OK && m_observedResult == LINK_OK) m_observedResult = result;
    closeObservedWrite();
    return result;
}

void DeviceCommands::closeObservedWrite() {
    if (!m_observedOpen || m_inSequence || m_groupDepth > 0) return;
    m_observedOpen = false;
    if (!m_observer.after) return;
    m_observing = true;
    m_observer.after(m_observedResult.load());
    m_observing = false;
}

void DeviceCommands::beginWriteGroup(bool observeNow) {
    ++m_groupDepth;
    if (observeNow) beforeWrite();
}

void DeviceCommands::endWriteGroup() {
    if (m_groupDepth > 0) --m_groupDepth;
    closeObservedWrite();
}

LinkResult DeviceCommands::BeginWrite() {
    // The observer reads inside the sequence it observes: that sequence's bracket covers its reads too.
    if (m_observing && m_inSequence) return LINK_OK;
    const LinkResult result = single(CMD_BEGIN, 0, 0, {}, {});
    if (!m_observing) m_inSequence = true;
    return result;
}

LinkResult DeviceCommands::EndWrite() {
    if (m_observing && m_inSequence) return LINK_OK;
    Report request;
    request.setCommand(CMD_END);
    request.seal();
    // The keyboard needs a moment after the last write before it takes the end of the sequence.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    Report reply;
    int replyLength = 0;
    LinkResult result =
        m_exchange.ExchangeReport(request.bytes.data(), Report::kSize, reply.bytes.data(), Report::kSize, &replyLength);
    result = result == LINK_OK ? statusResult(reply) : result;
    if (m_inSequence && !m_observing) {
        m_inSequence = false;
        // The end is judged as Bracketed judges it for the caller: only a keyboard that says it could not keep
        // the sequence makes it fail. Otherwise the history would keep a write the user was told went through
        // as one cut off.
        afterWrite(result == LINK_NOT_KEPT ? result : LINK_OK);
    }
    return result;
}

LinkResult DeviceCommands::ReadConfig(std::span<std::uint8_t, kConfigSize> out) {
    return single(CMD_READ_CONFIG, kConfigSize, 0, {}, out);
}

LinkResult DeviceCommands::WriteConfig(std::span<const std::uint8_t, kConfigSize> in) {
    // The configuration holds the active profile and nothing the observer keeps, so it does not open an observed
    // write: a profile switch costs its own report, not a read of the whole keyboard first. A failure still
    // counts for a sequence or group already observed.
    return afterWrite(single(CMD_WRITE_CONFIG, kConfigSize, 0, in, {}));
}

LinkResult DeviceCommands::ReadLighting(std::span<std::uint8_t, kChunkSize> out, int n, int offset) {
    if (n > static_cast<int>(kChunkSize) || offset < 0) return LINK_BAD_ARGUMENT;
    return single(CMD_READ_LIGHTING, static_cast<std::uint8_t>(std::max(n, 0)), static_cast<std::uint32_t>(offset), {},
                  out);
}

LinkResult DeviceCommands::WriteLighting(std::span<const std::uint8_t> in, int n, int offset) {
    if (n > static_cast<int>(kChunkSize) || offset < 0 || (n > 0 && in.size() < static_cast<std::size_t>(n)))
        return LINK_BAD_ARGUMENT;
    const std::size_t count = static_cast<std::size_t>(std::max(n, 0));
    beforeWrite();
    return afterWrite(single(CMD_WRITE_LIGHTING, static_cast<std::uint8_t>(count), static_cast<std::uint32_t>(offset),
                             in.first(count), {}));
}

LinkResult DeviceCommands::ReadKeymap(std::span<std::uint8_t, kKeymapSize> out, int profile) {
    if (profile < 0 || profile >= kProfileCount) return LINK_BAD_PROFILE;
    return readChunked(CMD_READ_KEYMAP, static_cast<std::uint32_t>(profile) * kKeymapSize, out);
}

LinkResult DeviceCommands::WriteKeymap(std::span<const std::uint8_t, kKeymapSize> in, int profile) {
    if (profile < 0 || profile >= kProfileCount) return LINK_BAD_PROFILE;
    beforeWrite();
    return afterWrite(writeChunked(CMD_WRITE_KEYMAP, static_cast<std::uint32_t>(profile) * kKeymapSize, in));
}

LinkResult DeviceCommands::ReadMacros(std::span<std::uint8_t> out) {
    return readChunked(CMD_READ_MACROS, 0, out);
}

LinkResult DeviceCommands::WriteMacros(std::span<const std::uint8_t> in) {
    beforeWrite();
    return afterWrite(writeChunked(CMD_WRITE_MACROS, 0, in));
}

LinkResult DeviceCommands::ReadDefaultKeymap(std::span<std::uint8_t, kKeymapSize> out) {
    return readChunked(CMD_READ_DEFAULT_KEYMAP, 0, out);
}

LinkResult DeviceCommands::WriteKeyColors(std::span<const std::uint8_t> in, int n, int slot, int profile) {
    if (n > static_cast<int>(kChunkSize) || slot < 0 || (n > 0 && in.size() < static_cast<std::size_t>(n)))
        return LINK_BAD_ARGUMENT;
    if (profile < 0 || profile >= kProfileCount) return LINK_BAD_PROFILE;
    const std::size_t count = static_cast<std::size_t>(std::max(n, 0));
    const std::uint32_t offset = static_cast<std::uint32_t>(slot) * 3 + static_cast<std::uint32_t>(profile) * 512;
    beforeWrite();
    return afterWrite(single(CMD_WRITE_KEYCOLORS, static_cast<std::uint8_t>(count), offset, in.first(count), {}));
}

int DeviceCommands::EnterBoot() {
    Report request; // report id 4, everything else zero: no sum on this one
    request.setCommand(CMD_ENTER_BOOT);
    request.setLength(CMD_ENTER_BOOT);
    return m_exchange.SendReportNoReply(request.bytes.data(), Report::kSize);
}

int DeviceCommands::Bracketed(const std::function<int()>& body) {
    BeginWrite();
    const int result = body();
    // What the end answers is otherwise not judged, but a keyboard that says it could not keep the sequence has
    // not got it, however well the writes went.
    const int end = EndWrite();
    return result == LINK_OK && end == LINK_NOT_KEPT ? end : result;
}

} // namespace ombrel
