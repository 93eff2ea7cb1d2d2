#ifndef VERITAB_H
#define VERITAB_H
/* The account-number library: whether an account number is valid for a bank
   and how that bank writes it for display. Plain C entry points so any
   program can bind it; strings are NUL-terminated code page 949. */
#include <stdint.h>

#if defined(_WIN32)
#define VERITAB_API __declspec(dllexport)
#else
#define VERITAB_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Size of the output buffer Hyphenate expects, including the closing NUL. */
#define VERITAB_OUTPUT_SIZE 256

/* 1 when the digits of accountNo (after removing "-" and blanks) have a
   length the bank uses; 0 otherwise, and for anything but digits, "-" and
   blanks. A bank code the library does not know accepts 8 to 16 digits. */
VERITAB_API int32_t VeritabIsValid(const char* bankCode, const char* accountNo);

/* Writes the display form of accountNo for the bank into output (at least
   VERITAB_OUTPUT_SIZE bytes), NUL-terminated, and returns its length.
   Hyphens and blanks of the input are removed first. Returns 0 with an empty
   output when the number is not valid for the bank, -1 when an argument is
   missing. A bank the library does not know gets the digits unhyphenated. */
VERITAB_API int32_t Hyphenate(const char* bankCode, const char* accountNo, char* output);

#ifdef __cplusplus
}
#endif

#endif
