/* The control interface of libVevIrozEmu.so: what tests and demos do to the emulated keyboard. These calls
 * exist only in the emulator build of the service library. All return 1 on success and 0 on bad arguments. */
#pragma once

#include <stdint.h>

#include "VevIroz.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Memory areas of the emulated keyboard, for EmuReadMemory / EmuWriteMemory. */
enum {
    EMU_AREA_CONFIG = 0,         /* 44 bytes */
    EMU_AREA_LIGHTING = 1,       /* 3 x 42 bytes */
    EMU_AREA_KEYMAP = 2,         /* 3 x 378 bytes */
    EMU_AREA_MACROS = 3,         /* macroUnits x 128 bytes through reports; these calls reach all 255 x 128 */
    EMU_AREA_DEFAULT_KEYMAP = 4, /* 378 bytes */
    EMU_AREA_KEYCOLORS = 5       /* 3 x 512 bytes */
};

/* Faults are queued; each applies to one future report, in order of injection. */
enum {
    EMU_FAULT_NONE = 0,          /* the report is handled normally (use it to aim a later fault) */
    EMU_FAULT_DROP_REPLY = 1,    /* the report is handled but no reply is sent */
    EMU_FAULT_DELAY_REPLY = 2,   /* the reply comes `arg` milliseconds late */
    EMU_FAULT_WRONG_COMMAND = 3, /* the reply carries another command byte (bit 7 flipped) */
    EMU_FAULT_STATUS_FF = 4,     /* the keyboard refuses: status 0xFF, nothing done */
    EMU_FAULT_STATUS_FE = 5,     /* the keyboard refuses: status 0xFE, nothing done */
    EMU_FAULT_SEND_FAIL = 6,     /* RequestWriteOne fails (returns 0); the report is not counted */
    EMU_FAULT_UNPLUG = 7,        /* the keyboard is unplugged when this report arrives: it is not handled,
                                    RequestWriteOne returns 0, no reply, count 0 on the control channel */
    EMU_FAULT_SHORT_REPLY = 8,   /* the reply is cut to `arg` bytes */
    EMU_FAULT_BAD_SUM = 9        /* a payload byte of the reply is damaged on its way: its sum no longer fits */
};

/* Chooses the state file (NULL or "" = memory only). Call before Init (refused with 0 while started).
 *
 * Init locks the state file for this process (waiting up to 10 s, or OMBREL_STATE_LOCK_WAIT_MS milliseconds
 * from the environment, for another program that holds it, and saying so on stderr), loads
 * it, or creates it from factory memory when it is missing, and starts the delivery thread. Init fails (0),
 * leaving the file exactly as it is, when the file is not a state file (another file of the user's, a damaged
 * state file, a folder or device) or another program keeps holding it; EmuProblem then says why. Plug state,
 * faults and latency set before Init are kept, so a test can start the program without a keyboard. End saves
 * what changed, unlocks the file, ends the thread and forgets every registration and pending notification.
 * Memory is saved after every change outside a begin/end bracket, at the end of a bracket, by EmuSaveState and
 * at End; a run that changes nothing never rewrites the file. */
VEV_API int32_t EmuConfigure(const char* stateFile);
/* Why the last Init failed, as one sentence (zero-terminated, cut to `capacity`); its full length, 0 when Init did
 * not fail. */
VEV_API int32_t EmuProblem(char* out, int32_t capacity);
/* Back to factory memory, plugged in, no faults, default latency; keeps the registrations. */
VEV_API int32_t EmuReset(void);
VEV_API int32_t EmuPlug(void);
VEV_API int32_t EmuUnplug(void);
VEV_API int32_t EmuIsPlugged(void);
VEV_API int32_t EmuSetLatencyMicros(uint32_t micros);
VEV_API int32_t EmuPressBankKey(void);                  /* consumer code 767; 0 while unplugged */
VEV_API int32_t EmuSendConsumer(uint16_t code);         /* any consumer code; 0 while unplugged */
VEV_API int32_t EmuInjectFault(int32_t kind, int32_t arg);
VEV_API int32_t EmuClearFaults(void);
VEV_API int32_t EmuReadMemory(int32_t area, uint32_t offset, uint8_t* out, uint32_t length);
VEV_API int32_t EmuWriteMemory(int32_t area, uint32_t offset, const uint8_t* in, uint32_t length);
VEV_API uint32_t EmuReportCount(void);                  /* reports received since the last reset */
VEV_API int32_t EmuBankStatus(uint8_t out[2]);          /* the last payload written to the bank status channel;
                                                           0 when none was written since the last reset */
VEV_API int32_t EmuBootRequested(void);                 /* 1 once the boot request arrived */
VEV_API int32_t EmuSaveState(void);                     /* writes the state file now (atomically); 0 without
                                                           a state file or when it cannot be written */

#ifdef __cplusplus
}
#endif
