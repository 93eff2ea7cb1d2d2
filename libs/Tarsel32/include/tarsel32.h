#ifndef TARSEL32_H
#define TARSEL32_H
/* Tarsel32: moves the send files of a program to the VAN operator and the
 * operator's files back. Every entry point takes the caller's program key
 * (a NUL-terminated CP949 string, e.g. "Orvan.exe") that names its
 * registry settings, "Software\<key>\Tarsel32\...", and returns a signed
 * 32-bit result:
 *    > 0   success (files moved; for EnvSetup: saved)
 *      0   nothing to send or receive (for EnvSetup: cancelled)
 *     -1   aborted (the operator could not be reached or refused)
 *    -10   no login ID (on receive also: received data could not be stored)
 *    -20   directories not set or not usable
 *    -30   header creation error          -40  header check error
 *    -50   send-file merge error          -60  send-file compression error
 *   -777   registry error (settings key missing or unwritable)
 *   -888   password entry failed
 *   -999   aborted by an unexpected failure
 * Calls block and belong on the caller's GUI thread; the dialogs need a
 * running QApplication. */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(TARSEL32_BUILD)
#define TARSEL32_API __attribute__((visibility("default")))
#else
#define TARSEL32_API
#endif

/* The settings dialog: line, login, directories, options and operator. */
TARSEL32_API int32_t EnvSetup(const char* programKey);
/* Transmits every file of the send directory. */
TARSEL32_API int32_t Send(const char* programKey);
/* Stores the files waiting at the operator in the receive directory. */
TARSEL32_API int32_t Receive(const char* programKey);
/* Send, then receive; both results through the pointers (may be null). The
 * function result is the first negative one, otherwise the number of files
 * moved in both directions. */
TARSEL32_API int32_t SendReceive(const char* programKey, int32_t* sendResult, int32_t* receiveResult);
/* Stores the files of the last receiving exchange in the receive directory again. */
TARSEL32_API int32_t ReReceive(const char* programKey);
/* Shows the files sent and received by the last exchange. */
TARSEL32_API int32_t ResultReceive(const char* programKey);
/* Shows the files received by the exchanges the library remembers. */
TARSEL32_API int32_t GetResultReceive(const char* programKey);

#ifdef __cplusplus
}
#endif

#endif
