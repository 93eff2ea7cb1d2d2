/* The upgrade client library: decides whether an upgrade is due, fetches the
   new files of a product from the operator's upgrade source and leaves them
   in "Upgrade/" under the application directory for the installer.
   Strings are NUL-terminated code page 949 text. */
#pragma once
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* 1 new files are in "Upgrade/"; 2 nothing to do now; 10 the login ID is not
   allowed; 11 a file arrived damaged or the manifest is malformed; 12 the
   source cannot be reached; 13 the transfer broke off; 14 more data arrived
   than announced; 16 "UPGRADE.INI" could not be written; 17 the files do not
   match the manifest. */
__attribute__((visibility("default"))) int32_t StartUpgrade(const char* productCode, const char* loginId);

/* The same without the schedule: for the user's "upgrade now". */
__attribute__((visibility("default"))) int32_t StartUpgradeNow(const char* productCode, const char* loginId);

#ifdef __cplusplus
}
#endif
