// The message catalogue and the languages.
#ifndef KV_CATALOGUE_H
#define KV_CATALOGUE_H

// Languages, in the order of every per-language table.
enum {
    LANGUAGE_ENGLISH,
    LANGUAGE_SPANISH,
    LANGUAGE_FRENCH,
    LANGUAGE_ITALIAN,
    LANGUAGE_NORWEGIAN,
    LANGUAGE_PORTUGUESE,
    LANGUAGE_SWEDISH,
    LANGUAGE_COUNT
};

enum {
    TXT_BACK,
    TXT_NEXT,
    TXT_FINISH,
    TXT_EXIT,
    TXT_YES,
    TXT_NO,
    TXT_LANGUAGE,
    TXT_TITLE,
    TXT_NOT_FOUND,
    TXT_INSTALL_CORRUPT,
    TXT_REINSTALL,
    TXT_CURRENT_VERSION,
    TXT_NEW_VERSION,
    TXT_CLICK_UPDATE,
    TXT_CLICK_CONTINUE,
    TXT_UPDATING,
    TXT_COMPLETED,
    TXT_SOURCE_MISSING,
    TXT_UPDATE_CORRUPT,
    TXT_INCOMPATIBLE,
    TXT_QUICKSTART_OLD,
    TXT_QUICKSTART_DELETE,
    TXT_LOCATION_PROMPT,
    TXT_WRITE_FAILED,
    MESSAGE_COUNT
};

// The version this update installs, shown under every heading and recorded at the end.
#define UPDATE_VERSION "Version 3.73 (ENG,ESP,FRA,ITA,NOR,POR,SVE)"

// Which languages page 0 offers (all of them in this update).
extern unsigned char LanguageEnabled[LANGUAGE_COUNT];

extern const char* const Catalogue[MESSAGE_COUNT][LANGUAGE_COUNT];

// The text of a message in a language (0 to 6).
inline const char* Message(int message, int language)
{
    return Catalogue[message][language];
}

#endif
