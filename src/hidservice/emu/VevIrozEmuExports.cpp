// The C calls of libVevIrozEmu.so over one process-wide emulated keyboard. This file only checks arguments and
// check values and translates them; the keyboard's behaviour lives in src/emulator.

#include "VevIroz.h"
#include "VevIrozEmu.h"

#include "CheckValue.h"
#include "DeviceFilter.h"
#include "emulator/EmulatedKeyboard.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>

using ombrel::CheckValue;
using ombrel::DeviceFilter;
using ombrel::emu::EmulatedKeyboard;
using ombrel::emu::Interface;

namespace {

// Destroyed when the library is unloaded (or at process exit); its destructor ends the delivery thread, so no
// thread outlives the library's code.
EmulatedKeyboard& keyboard() {
    static EmulatedKeyboard instance;
    return instance;
}

std::span<const std::uint8_t, VEV_FILTER_SIZE> filterBytes(const std::uint8_t* filter) {
    return std::span<const std::uint8_t, VEV_FILTER_SIZE>(filter, VEV_FILTER_SIZE);
}

std::uintptr_t callbackValue(VevNotifyFn callback) {
    return reinterpret_cast<std::uintptr_t>(callback);
}

// The interface a call addresses, or Interface::None when its filter or check value is wrong. A null or
// negative-length payload is wrong too.
Interface checkedInterface(const std::uint8_t* filter, VevNotifyFn callback, std::uint32_t tag,
                           const std::uint8_t* payload, std::int32_t length, std::uint32_t check) {
    if (!filter || length < 0 || (length > 0 && !payload)) return Interface::None;
    const std::span<const std::uint8_t> bytes(payload, static_cast<std::size_t>(length));
    if (CheckValue(filterBytes(filter), callbackValue(callback), tag, bytes) != check) return Interface::None;
    return ombrel::emu::InterfaceOf(DeviceFilter::parse(filter));
}

std::int32_t giveId(std::uint32_t id, std::uint32_t* unitId) {
    if (unitId) *unitId = id;
    return id != 0 ? 1 : 0;
}

std::int32_t writeOne(const std::uint8_t* filter, VevNotifyFn callback, std::uint32_t tag, const std::uint8_t* report,
                      std::int32_t length, std::uint32_t check) {
    if (length != VEV_REPORT_SIZE) return 0;
    if (checkedInterface(filter, callback, tag, report, length, check) != Interface::Vendor) return 0;
    return keyboard().writeReport(std::span<const std::uint8_t, VEV_REPORT_SIZE>(report, VEV_REPORT_SIZE));
}

std::optional<ombrel::emu::Area> areaOf(std::int32_t area) {
    return ombrel::emu::areaFromInt(area);
}

} // namespace

extern "C" {

int32_t Debug(int32_t) {
    return 1;
}

int32_t Init(int32_t) {
    return keyboard().start() ? 1 : 0;
}

int32_t End(void) {
    return keyboard().stop() ? 1 : 0;
}

int32_t RequestGetDeviceCount(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, uint32_t check, uint32_t*) {
    const Interface iface = checkedInterface(filter, callback, tag, nullptr, 0, check);
    return keyboard().deviceCount(iface);
}

int32_t DeleteRequestFromUnitId(uint32_t unitId) {
    return keyboard().unregister(unitId) ? 1 : 0;
}

// The emulator hands out no handles.
int32_t DeleteRequestFromHandle(void*) {
    return 0;
}

int32_t RequestWrite(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, const uint8_t* data, int32_t length,
                     uint32_t check, uint32_t*) {
    return writeOne(filter, callback, tag, data, length, check);
}

int32_t RequestWriteOne(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, const uint8_t* report,
                        int32_t length, uint32_t check, uint32_t*) {
    return writeOne(filter, callback, tag, report, length, check);
}

int32_t RequestStatusWrite(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, const uint8_t* payload,
                           int32_t length, uint32_t check, uint32_t* unitId) {
    const Interface iface = checkedInterface(filter, callback, tag, payload, length, check);
    if (iface == Interface::None) return 0;
    const std::span<const std::uint8_t> bytes(payload, static_cast<std::size_t>(length));
    return giveId(keyboard().registerStatusWrite(iface, callback, tag, bytes), unitId);
}

int32_t RequestStatusGet(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, uint8_t* out, int32_t capacity,
                         uint32_t check, uint32_t*) {
    if (!out || capacity <= 0) return 0;
    if (checkedInterface(filter, callback, tag, nullptr, 0, check) != Interface::BankStatus) return 0;
    std::uint8_t status[2]{};
    if (!keyboard().bankStatus(status)) return 0;
    const int32_t n = std::min<int32_t>(capacity, 2);
    std::memcpy(out, status, static_cast<std::size_t>(n));
    return n;
}

int32_t RequestAsyncRead(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, uint32_t check, uint32_t* unitId) {
    const Interface iface = checkedInterface(filter, callback, tag, nullptr, 0, check);
    if (iface == Interface::None) return 0;
    return giveId(keyboard().registerRead(iface, callback, tag), unitId);
}

// Feature reports change nothing the emulator models; the call is accepted while the keyboard is there.
int32_t RequestStatusSetFeature(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, const uint8_t* data,
                                int32_t length, uint32_t check, uint32_t*) {
    const Interface iface = checkedInterface(filter, callback, tag, data, length, check);
    return keyboard().deviceCount(iface) > 0 ? 1 : 0;
}

int32_t VevIrozProbe(char* node, int32_t capacity) {
    const bool present = keyboard().plugged();
    if (node && capacity > 0) {
        const char* text = present ? "emulator" : "";
        const std::size_t n = std::min(std::strlen(text), static_cast<std::size_t>(capacity - 1));
        std::memcpy(node, text, n);
        node[n] = '\0';
    }
    return present ? 0 : -1;
}

int32_t EmuConfigure(const char* stateFile) {
    return keyboard().configure(stateFile ? stateFile : "") ? 1 : 0;
}

int32_t EmuProblem(char* out, int32_t capacity) {
    const std::string problem = keyboard().problem();
    if (out && capacity > 0) {
        const std::size_t n = std::min(problem.size(), static_cast<std::size_t>(capacity - 1));
        std::memcpy(out, problem.data(), n);
        out[n] = '\0';
    }
    return static_cast<int32_t>(problem.size());
}

int32_t EmuReset(void) {
    keyboard().reset();
    return 1;
}

int32_t EmuPlug(void) {
    keyboard().plug();
    return 1;
}

int32_t EmuUnplug(void) {
    keyboard().unplug();
    return 1;
}

int32_t EmuIsPlugged(void) {
    return keyboard().plugged() ? 1 : 0;
}

int32_t EmuSetLatencyMicros(uint32_t micros) {
    keyboard().setLatencyMicros(micros);
    return 1;
}

int32_t EmuPressBankKey(void) {
    return keyboard().sendConsumer(EmulatedKeyboard::kBankKeyCode) ? 1 : 0;
}

int32_t EmuSendConsumer(uint16_t code) {
    return keyboard().sendConsumer(code) ? 1 : 0;
}

int32_t EmuInjectFault(int32_t kind, int32_t arg) {
    return keyboard().injectFault(static_cast<ombrel::emu::FaultKind>(kind), arg) ? 1 : 0;
}

int32_t EmuClearFaults(void) {
    keyboard().clearFaults();
    return 1;
}

int32_t EmuReadMemory(int32_t area, uint32_t offset, uint8_t* out, uint32_t length) {
    const auto a = areaOf(area);
    if (!a || (length > 0 && !out)) return 0;
    return keyboard().readMemory(*a, offset, std::span<std::uint8_t>(out, length)) ? 1 : 0;
}

int32_t EmuWriteMemory(int32_t area, uint32_t offset, const uint8_t* in, uint32_t length) {
    const auto a = areaOf(area);
    if (!a || (length > 0 && !in)) return 0;
    return keyboard().writeMemory(*a, offset, std::span<const std::uint8_t>(in, length)) ? 1 : 0;
}

uint32_t EmuReportCount(void) {
    return keyboard().reportCount();
}

int32_t EmuBankStatus(uint8_t out[2]) {
    if (!out) return 0;
    return keyboard().bankStatus(out) ? 1 : 0;
}

int32_t EmuBootRequested(void) {
    return keyboard().bootRequested() ? 1 : 0;
}

int32_t EmuSaveState(void) {
    return keyboard().saveState() ? 1 : 0;
}

} // extern "C"
