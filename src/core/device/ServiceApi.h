#pragma once
// The calls of the HID service library, resolved by name. Whoever loads the library (or a test's fake) fills
// this table; the device link only ever calls through it, so the transport is always injected.

#include "VevIroz.h"

namespace ombrel {

struct ServiceApi {
    VevDebugFn Debug = nullptr;
    VevInitFn Init = nullptr;
    VevEndFn End = nullptr;
    VevRequestGetDeviceCountFn RequestGetDeviceCount = nullptr;
    VevDeleteRequestFromUnitIdFn DeleteRequestFromUnitId = nullptr;
    VevDeleteRequestFromHandleFn DeleteRequestFromHandle = nullptr;
    VevRequestWriteFn RequestWrite = nullptr;
    VevRequestWriteOneFn RequestWriteOne = nullptr;
    VevRequestStatusWriteFn RequestStatusWrite = nullptr;
    VevRequestStatusGetFn RequestStatusGet = nullptr;
    VevRequestAsyncReadFn RequestAsyncRead = nullptr;
    VevRequestStatusSetFeatureFn RequestStatusSetFeature = nullptr;
    // Optional: what the library found when it looked for the keyboard (absent in old builds).
    VevProbeFn Probe = nullptr;
};

} // namespace ombrel
