// The installation record: the game's registry key with its "Version" and "Location"
// values, and the rule for which installed versions this update fits.
#ifndef KV_RECORD_H
#define KV_RECORD_H

#include <cstdint>

#define INSTALL_KEY "Kickvale 99-00"
#define INSTALL_KEY_PARENT "Software\\Brightfold Ltd\\"
#define INSTALL_EXECUTABLE "kv9900.exe"

enum { SETTING_SIZE = 200 };

// Reads a text value of HKEY_LOCAL_MACHINE\Software\Brightfold Ltd\<subkey> into buffer
// (capacity size bytes). True only when the whole value was read and is a terminated text
// within the buffer; a value that fills the buffer without a terminating zero is not read.
bool ReadSetting(const char* subkey, const char* valueName, char* buffer, uint32_t size);
// Creates the key if needed and stores the text value with its terminating zero.
bool WriteSetting(const char* subkey, const char* valueName, const char* value);

// The installed version takes this update when it contains "3.70", "3.71", "3.72" or "3.73".
bool CompatibleVersion(const char* installedVersion);
// Rewrites the first "3.69" in the text to "3.70", in place.
void RewriteOldVersion(char* installedVersion);

#endif
