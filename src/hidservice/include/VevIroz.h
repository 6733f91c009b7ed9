/* The C interface of the HID service library (libVevIroz.so, and libVevIrozEmu.so backed by the emulator).
 *
 * The program loads one of the two libraries with dlopen and resolves the twelve calls by name. Every call
 * that carries a filter also carries a check value (see CheckValue.h); a call whose check value is wrong is
 * refused with 0. Results are signed 32-bit. */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VEV_API __attribute__((visibility("default")))

/* The callback the program registers; it receives a VevNotifyRecord and returns 1. */
typedef int32_t (*VevNotifyFn)(void* record);

enum {
    VEV_FILTER_SIZE = 16,
    VEV_REPORT_SIZE = 64,
    VEV_VENDOR_ID = 0x0C45,
    VEV_PRODUCT_ID = 0x5204,
    VEV_MATCH_ALL = 0x0000000F
};

/* Channel tags as the program registers them. */
#define VEV_TAG_CONS 0x434F4E53u
#define VEV_TAG_CTRL 0x4354524Cu
#define VEV_TAG_DEL 0x004C4544u

/* Notification kinds. */
enum { VEV_NOTIFY_DEVICE_COUNT = 0, VEV_NOTIFY_DATA = 1 };

/* Holder of the consumer report: the consumer report's address is stored in the pointer-sized bytes at
 * offset 28 (read them with memcpy; the field is not aligned). consumerLength follows it. */
typedef struct VevReportHolder {
    uint8_t reserved[28];
    uint8_t consumerReport[sizeof(void*)];
    uint32_t consumerLength;
} VevReportHolder;

/* The record of the channel a notification concerns. */
typedef struct VevRequestRecord {
    uint32_t tag;              /* offset 0: the tag the channel was registered with */
    uint32_t length;           /* offset 4: data: number of data bytes; device count: attached keyboards */
    const uint8_t* data;       /* offset 8: data: the input report as read (report id first) */
    const VevReportHolder* report; /* offset 16 */
} VevRequestRecord;

/* What the callback receives. */
typedef struct VevNotifyRecord {
    uint32_t kind;             /* offset 0: VEV_NOTIFY_DATA or VEV_NOTIFY_DEVICE_COUNT */
    uint32_t reserved;
    VevRequestRecord* request; /* offset 8 */
} VevNotifyRecord;

/* The twelve calls. `filter` points to the 16 bytes of a DeviceFilter. */
typedef int32_t (*VevDebugFn)(int32_t level);
typedef int32_t (*VevInitFn)(int32_t flags);
typedef int32_t (*VevEndFn)(void);
typedef int32_t (*VevRequestGetDeviceCountFn)(const uint8_t* filter, VevNotifyFn callback, uint32_t tag,
                                              uint32_t check, uint32_t* unitId);
typedef int32_t (*VevDeleteRequestFromUnitIdFn)(uint32_t unitId);
typedef int32_t (*VevDeleteRequestFromHandleFn)(void* handle);
typedef int32_t (*VevRequestWriteFn)(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, const uint8_t* data,
                                     int32_t length, uint32_t check, uint32_t* unitId);
typedef int32_t (*VevRequestWriteOneFn)(const uint8_t* filter, VevNotifyFn callback, uint32_t tag,
                                        const uint8_t* report, int32_t length, uint32_t check, uint32_t* unitId);
typedef int32_t (*VevRequestStatusWriteFn)(const uint8_t* filter, VevNotifyFn callback, uint32_t tag,
                                           const uint8_t* payload, int32_t length, uint32_t check, uint32_t* unitId);
typedef int32_t (*VevRequestStatusGetFn)(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, uint8_t* out,
                                         int32_t capacity, uint32_t check, uint32_t* unitId);
typedef int32_t (*VevRequestAsyncReadFn)(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, uint32_t check,
                                         uint32_t* unitId);
typedef int32_t (*VevRequestStatusSetFeatureFn)(const uint8_t* filter, VevNotifyFn callback, uint32_t tag,
                                                const uint8_t* data, int32_t length, uint32_t check,
                                                uint32_t* unitId);

VEV_API int32_t Debug(int32_t level);
VEV_API int32_t Init(int32_t flags);
VEV_API int32_t End(void);
VEV_API int32_t RequestGetDeviceCount(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, uint32_t check,
                              uint32_t* unitId);
VEV_API int32_t DeleteRequestFromUnitId(uint32_t unitId);
VEV_API int32_t DeleteRequestFromHandle(void* handle);
VEV_API int32_t RequestWrite(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, const uint8_t* data, int32_t length,
                     uint32_t check, uint32_t* unitId);
VEV_API int32_t RequestWriteOne(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, const uint8_t* report,
                        int32_t length, uint32_t check, uint32_t* unitId);
VEV_API int32_t RequestStatusWrite(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, const uint8_t* payload,
                           int32_t length, uint32_t check, uint32_t* unitId);
VEV_API int32_t RequestStatusGet(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, uint8_t* out, int32_t capacity,
                         uint32_t check, uint32_t* unitId);
VEV_API int32_t RequestAsyncRead(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, uint32_t check,
                         uint32_t* unitId);
VEV_API int32_t RequestStatusSetFeature(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, const uint8_t* data,
                                int32_t length, uint32_t check, uint32_t* unitId);

/* Optional diagnostics, exported by both libraries: what the last enumeration found. Fills `node` (the hidraw
 * node of the vendor interface, "" when none) and returns 0 when that node can be opened, the errno of the open
 * otherwise (EBUSY: another program is talking to the keyboard), or -1 when no keyboard was found at all. Used
 * to tell "no keyboard" from "no permission" and "in use". */
typedef int32_t (*VevProbeFn)(char* node, int32_t capacity);
VEV_API int32_t VevIrozProbe(char* node, int32_t capacity);

#ifdef __cplusplus
}
#endif
