// The message catalogue: the exact single-byte texts in the seven languages, the entries
// that read the same, the empty messages and the language flags.
#include "wizard/catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

static_assert(LANGUAGE_COUNT == 7, "seven languages");
static_assert(MESSAGE_COUNT == 24, "twenty-four messages");

// The Windows-1252 bytes of a text written in UTF-8, for texts whose characters all lie
// below 0x100 (where Windows-1252 and Unicode agree for every letter the catalogue uses).
std::string Cp1252(const char* utf8)
{
    std::string out;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(utf8);
    while (*s) {
        if (*s < 0x80) {
            out += static_cast<char>(*s++);
        } else {
            // Two-byte sequences only: 110xxxxx 10xxxxxx.
            unsigned code = ((s[0] & 0x1Fu) << 6) | (s[1] & 0x3Fu);
            out += static_cast<char>(code);
            s += 2;
        }
    }
    return out;
}

TEST(CatalogueTest, TextsAreTheirSingleByteSpellings)
{
    struct CASE {
        int message;
        int language;
        const char* bytes;
    };
    const CASE cases[] = {
        {TXT_NEXT, LANGUAGE_SWEDISH, "N\xE4sta >"},
        {TXT_BACK, LANGUAGE_PORTUGUESE, "< Atr\xE1s"},
        {TXT_BACK, LANGUAGE_SWEDISH, "< Bak\xE5t"},
        {TXT_YES, LANGUAGE_SPANISH, "S\xED"},
        {TXT_YES, LANGUAGE_ITALIAN, "S\xEC"},
        {TXT_NO, LANGUAGE_PORTUGUESE, "N\xE3o"},
        {TXT_EXIT, LANGUAGE_FRENCH, "Quitter"},
        {TXT_LANGUAGE, LANGUAGE_ENGLISH, "Install in English"},
        {TXT_LANGUAGE, LANGUAGE_SPANISH, "Instalar en Espa\xF1ol"},
        {TXT_LANGUAGE, LANGUAGE_FRENCH, "Installation en Fran\xE7" "ais"},
        {TXT_LANGUAGE, LANGUAGE_PORTUGUESE, "Instala\xE7\xE3o em Portugu\xEAs"},
        {TXT_LANGUAGE, LANGUAGE_SWEDISH, "0Installera p\xE5 svenska"},
        {TXT_TITLE, LANGUAGE_ENGLISH, "Kickvale 99/00 Update"},
        {TXT_TITLE, LANGUAGE_SPANISH, "Actualizaci\xF3n Kickvale 99/00"},
        {TXT_TITLE, LANGUAGE_PORTUGUESE, "Kickvale 99/00 - Actualiza\xE7\xE3o"},
        {TXT_INSTALL_CORRUPT, LANGUAGE_SPANISH, "La instalaci\xF3n del KV99/00 est\xE1 da\xF1" "ada"},
        {TXT_CURRENT_VERSION, LANGUAGE_NORWEGIAN, "N\xE5v\xE6rende versjon:"},
        {TXT_CURRENT_VERSION, LANGUAGE_FRENCH, "Version actuellement install\xE9" "e:"},
        {TXT_CLICK_CONTINUE, LANGUAGE_SWEDISH, "Klicka p\xE5 'N\xE4sta' f\xF6r att forts\xE4tta"},
        {TXT_UPDATING, LANGUAGE_FRENCH, "Mise \xE0 jour..."},
        {TXT_COMPLETED, LANGUAGE_ITALIAN, "Aggiornamento completato"},
        {TXT_SOURCE_MISSING, LANGUAGE_SWEDISH, "Kan ej hitta k\xE4llfil"},
        {TXT_UPDATE_CORRUPT, LANGUAGE_ITALIAN, "Il file di aggiornamento \xE8 alterato"},
        {TXT_INCOMPATIBLE, LANGUAGE_ENGLISH,
         "This update is not compatible with your existing KV99/00 installation. Please download the full update "
         "instead."},
        {TXT_QUICKSTART_DELETE, LANGUAGE_SPANISH, "\xBF" "Borrar los ficheros de partidas rapidas (recomendado)?"},
        {TXT_QUICKSTART_DELETE, LANGUAGE_ENGLISH, "Delete the quick start files (recommended) ?"},
    };
    for (const CASE& c : cases)
        EXPECT_EQ(std::string(Message(c.message, c.language)), std::string(c.bytes))
            << "message " << c.message << " language " << c.language;

    // One byte per character: "Nästa >" is seven bytes with 0xE4 second.
    const char* next = Message(TXT_NEXT, LANGUAGE_SWEDISH);
    EXPECT_EQ(strlen(next), 7u);
    EXPECT_EQ(static_cast<unsigned char>(next[1]), 0xE4);
    EXPECT_EQ(Message(TXT_LANGUAGE, LANGUAGE_SWEDISH)[0], '0');
}

TEST(CatalogueTest, AccentedTextsMatchTheirWrittenForm)
{
    // Accents first, in the middle, doubled and last.
    struct CASE {
        int message;
        int language;
        const char* utf8;
    };
    const CASE cases[] = {
        {TXT_REINSTALL, LANGUAGE_FRENCH, u8"Réinstallez le CD de KV99/00 et réessayez"},
        {TXT_REINSTALL, LANGUAGE_NORWEGIAN, u8"Innstaller KV99/00 på nytt fra CD og prøv igjen"},
        {TXT_REINSTALL, LANGUAGE_SWEDISH, u8"Ominstallera KV99/00 från CD:n och försök igen"},
        {TXT_QUICKSTART_DELETE, LANGUAGE_SPANISH, u8"¿Borrar los ficheros de partidas rapidas (recomendado)?"},
        {TXT_QUICKSTART_DELETE, LANGUAGE_PORTUGUESE, u8"Apagar os ficheiros de inícios rápidos (recomendável) ?"},
        {TXT_NOT_FOUND, LANGUAGE_PORTUGUESE, u8"Incapaz de encontrar instalação do KV99/00"},
        {TXT_UPDATE_CORRUPT, LANGUAGE_SPANISH, u8"El archivo de actualización está dañado"},
        {TXT_CLICK_UPDATE, LANGUAGE_FRENCH, u8"Cliquez sur 'Suite' pour mettre à jour"},
        {TXT_INCOMPATIBLE, LANGUAGE_PORTUGUESE,
         u8"Esta actualização não é compatível com a sua presente instalação do KV99/00. Por favor faça o "
         u8"'download' da actualização total."},
        {TXT_INCOMPATIBLE, LANGUAGE_FRENCH,
         u8"Cette mise à jour n'est pas compatible avec la version de KV99/00 installée sur votre ordinateur. "
         u8"Veuillez télécharger la mise à jour complète."},
        {TXT_QUICKSTART_OLD, LANGUAGE_SWEDISH,
         u8"Dina snabbstartfiler från originalinstallationen är gamla. De kommer fortfarande att fungera, men "
         u8"innehåller ej den senaste uppdateringarna."},
        {TXT_NO, LANGUAGE_PORTUGUESE, u8"Não"},
        {TXT_YES, LANGUAGE_SPANISH, u8"Sí"},
    };
    for (const CASE& c : cases)
        EXPECT_EQ(std::string(Message(c.message, c.language)), Cp1252(c.utf8))
            << "message " << c.message << " language " << c.language;
}

TEST(CatalogueTest, SharedEntriesReadTheSame)
{
    struct CASE {
        int messageA, languageA, messageB, languageB;
        const char* text;
    };
    const CASE cases[] = {
        {TXT_FINISH, LANGUAGE_SPANISH, TXT_FINISH, LANGUAGE_PORTUGUESE, "Terminar"},
        {TXT_FINISH, LANGUAGE_NORWEGIAN, TXT_EXIT, LANGUAGE_NORWEGIAN, "Avslutt"},
        {TXT_FINISH, LANGUAGE_SWEDISH, TXT_EXIT, LANGUAGE_SWEDISH, "Avsluta"},
        {TXT_YES, LANGUAGE_NORWEGIAN, TXT_YES, LANGUAGE_SWEDISH, "Ja"},
        {TXT_NO, LANGUAGE_ENGLISH, TXT_NO, LANGUAGE_SPANISH, "No"},
        {TXT_NO, LANGUAGE_ENGLISH, TXT_NO, LANGUAGE_ITALIAN, "No"},
        {TXT_UPDATING, LANGUAGE_SPANISH, TXT_UPDATING, LANGUAGE_PORTUGUESE, "Actualizando..."},
    };
    for (const CASE& c : cases) {
        EXPECT_STREQ(Message(c.messageA, c.languageA), c.text) << c.text;
        EXPECT_STREQ(Message(c.messageB, c.languageB), c.text) << c.text;
    }
}

TEST(CatalogueTest, EveryEntryExistsAndOnlyTwoMessagesAreEmpty)
{
    for (int m = 0; m < MESSAGE_COUNT; ++m) {
        for (int l = 0; l < LANGUAGE_COUNT; ++l) {
            const char* text = Message(m, l);
            ASSERT_NE(text, nullptr) << "message " << m << " language " << l;
            const bool empty = m == TXT_LOCATION_PROMPT || m == TXT_WRITE_FAILED;
            EXPECT_EQ(text[0] == '\0', empty) << "message " << m << " language " << l;
        }
    }
}

TEST(CatalogueTest, AllLanguagesAreEnabledAndTheVersionIsFixed)
{
    for (int l = 0; l < LANGUAGE_COUNT; ++l) EXPECT_EQ(LanguageEnabled[l], 1) << l;
    EXPECT_STREQ(UPDATE_VERSION, "Version 3.73 (ENG,ESP,FRA,ITA,NOR,POR,SVE)");
}

}  // namespace
