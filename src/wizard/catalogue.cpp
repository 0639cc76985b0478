// The message catalogue: every interface text in the seven languages, as Windows-1252
// bytes (the fonts draw a text byte by byte). Non-ASCII bytes are written as \x escapes;
// the comment after each such text shows it as it reads.
#include "wizard/catalogue.h"

unsigned char LanguageEnabled[LANGUAGE_COUNT] = {1, 1, 1, 1, 1, 1, 1};

const char* const Catalogue[MESSAGE_COUNT][LANGUAGE_COUNT] = {
    // TXT_BACK
    {
        "< Back",
        "< Volver",
        "< Retour",
        "< Indietro",
        "< Tilbake",
        "< Atr\xE1s",  // < Atrás
        "< Bak\xE5t",  // < Bakåt
    },
    // TXT_NEXT
    {
        "Next >",
        "Siguiente >",
        "Suite >",
        "Avanti >",
        "Neste >",
        "Seguinte >",
        "N\xE4sta >",  // Nästa >
    },
    // TXT_FINISH
    {
        "Finish",
        "Terminar",
        "Finir",
        "Fine",
        "Avslutt",
        "Terminar",
        "Avsluta",
    },
    // TXT_EXIT
    {
        "Exit",
        "Salir",
        "Quitter",
        "Esci",
        "Avslutt",
        "Sair",
        "Avsluta",
    },
    // TXT_YES
    {
        "Yes",
        "S\xED",  // Sí
        "Oui",
        "S\xEC",  // Sì
        "Ja",
        "Sim",
        "Ja",
    },
    // TXT_NO
    {
        "No",
        "No",
        "Non",
        "No",
        "Nei",
        "N\xE3o",  // Não
        "Nej",
    },
    // TXT_LANGUAGE
    {
        "Install in English",
        "Instalar en Espa\xF1ol",  // Instalar en Español
        "Installation en Fran\xE7" "ais",  // Installation en Français
        "Installa in Italiano",
        "Installer p\xE5 norsk",  // Installer på norsk
        "Instala\xE7\xE3o em Portugu\xEAs",  // Instalação em Português
        "0Installera p\xE5 svenska",  // 0Installera på svenska
    },
    // TXT_TITLE
    {
        "Kickvale 99/00 Update",
        "Actualizaci\xF3n Kickvale 99/00",  // Actualización Kickvale 99/00
        "Mise \xE0 jour de Kickvale 99/00",  // Mise à jour de Kickvale 99/00
        "Aggiornamento di Kickvale 99/00",
        "Oppdatering av Kickvale 99/00",
        "Kickvale 99/00 - Actualiza\xE7\xE3o",  // Kickvale 99/00 - Actualização
        "Kickvale 99/00 Uppdatering",
    },
    // TXT_NOT_FOUND
    {
        "Unable to find KV99/00 installation",
        "No se encuentra la instalaci\xF3n del KV99/00",  // No se encuentra la instalación del KV99/00
        "Installation de KV99/00 introuvable",
        "Impossibile trovare l'installazione di KV99/00",
        "Klarer ikke \xE5 finne KV99/00",  // Klarer ikke å finne KV99/00
        "Incapaz de encontrar instala\xE7\xE3o do KV99/00",  // Incapaz de encontrar instalação do KV99/00
        "Kan ej hitta KV99/00 installation",
    },
    // TXT_INSTALL_CORRUPT
    {
        "KV99/00 installation is corrupt",
        "La instalaci\xF3n del KV99/00 est\xE1 da\xF1" "ada",  // La instalación del KV99/00 está dañada
        "L'installation de KV99/00 est corrompue",
        "L'installazione di KV99/00 non \xE8 corretta",  // L'installazione di KV99/00 non è corretta
        "Feil ved KV99/00 innstalleringen",
        "Instala\xE7\xE3o do KV99/00 est\xE1 corrompida",  // Instalação do KV99/00 está corrompida
        "KV99/00 installationen \xE4r skadad",  // KV99/00 installationen är skadad
    },
    // TXT_REINSTALL
    {
        "Re-install KV99/00 from CD and try again",
        "Reinstala el KV99/00 desde el CD e int\xE9ntalo de nuevo",  // Reinstala el KV99/00 desde el CD e inténtalo de nuevo
        "R\xE9installez le CD de KV99/00 et r\xE9" "essayez",  // Réinstallez le CD de KV99/00 et réessayez
        "Installa nuovamente KV99/00 e prova di nuovo",
        "Innstaller KV99/00 p\xE5 nytt fra CD og pr\xF8v igjen",  // Innstaller KV99/00 på nytt fra CD og prøv igjen
        "Re-instalar o KV99/00 a partir do CD e tentar novamente",
        "Ominstallera KV99/00 fr\xE5n CD:n och f\xF6rs\xF6k igen",  // Ominstallera KV99/00 från CD:n och försök igen
    },
    // TXT_CURRENT_VERSION
    {
        "Current installed version:",
        "Versi\xF3n actual instalada:",  // Versión actual instalada:
        "Version actuellement install\xE9" "e:",  // Version actuellement installée:
        "Versione attualmente installata:",
        "N\xE5v\xE6rende versjon:",  // Nåværende versjon:
        "Vers\xE3o instalada currentemente:",  // Versão instalada currentemente:
        "Nuvarande installerad version:",
    },
    // TXT_NEW_VERSION
    {
        "New version to install:",
        "Nueva versi\xF3n a instalar:",  // Nueva versión a instalar:
        "Nouvelle version \xE0 installer:",  // Nouvelle version à installer:
        "Nuova versione da installare:",
        "Innstallerer versjon:",
        "Nova vers\xE3o a instalar:",  // Nova versão a instalar:
        "Ny version att installera:",
    },
    // TXT_CLICK_UPDATE
    {
        "Click 'Next' to update",
        "Pulsa en 'Siguiente' para actualizar",
        "Cliquez sur 'Suite' pour mettre \xE0 jour",  // Cliquez sur 'Suite' pour mettre à jour
        "Premi 'Avanti' per iniziare l'aggiornamento",
        "Klikk 'Neste' for \xE5 oppdatere",  // Klikk 'Neste' for å oppdatere
        "Clique 'Seguinte' para actualizar",
        "Klicka p\xE5 n\xE4sta f\xF6r att uppdatera",  // Klicka på nästa för att uppdatera
    },
    // TXT_CLICK_CONTINUE
    {
        "Click 'Next' to continue",
        "Pulsa 'Siguiente' para continuar",
        "Cliquez sur 'Suite' pour continuer",
        "Premi 'Avanti' per continuare",
        "Klikk 'Neste' for \xE5 fortsette",  // Klikk 'Neste' for å fortsette
        "Escolha 'Seguinte' para continuar",
        "Klicka p\xE5 'N\xE4sta' f\xF6r att forts\xE4tta",  // Klicka på 'Nästa' för att fortsätta
    },
    // TXT_UPDATING
    {
        "Updating...",
        "Actualizando...",
        "Mise \xE0 jour...",  // Mise à jour...
        "Aggiornamento in corso...",
        "Oppdaterer...",
        "Actualizando...",
        "Uppdaterar...",
    },
    // TXT_COMPLETED
    {
        "Update completed",
        "Actualizaci\xF3n completada",  // Actualización completada
        "Mise \xE0 jour r\xE9ussie",  // Mise à jour réussie
        "Aggiornamento completato",
        "Oppdateringen er ferdig",
        "Actualiza\xE7\xE3o terminada",  // Actualização terminada
        "Uppdatering klar",
    },
    // TXT_SOURCE_MISSING
    {
        "Unable to find a source file",
        "No se encuentra un fichero de origen",
        "Impossible de trouver un fichier source",
        "Impossibile trovare il file di aggiornamento",
        "Klarer ikke \xE5 finne kilde filen",  // Klarer ikke å finne kilde filen
        "Incapaz de encontrar um ficheiro de instala\xE7\xE3o",  // Incapaz de encontrar um ficheiro de instalação
        "Kan ej hitta k\xE4llfil",  // Kan ej hitta källfil
    },
    // TXT_UPDATE_CORRUPT
    {
        "The update file is corrupt",
        "El archivo de actualizaci\xF3n est\xE1 da\xF1" "ado",  // El archivo de actualización está dañado
        "Le fichier de mise \xE0 jour est corrompu",  // Le fichier de mise à jour est corrompu
        "Il file di aggiornamento \xE8 alterato",  // Il file di aggiornamento è alterato
        "Feil ved oppdateringsfilen",
        "O ficheiro de actualiza\xE7\xE3o est\xE1 corrompido",  // O ficheiro de actualização está corrompido
        "Uppdateringsfilen \xE4r skadad",  // Uppdateringsfilen är skadad
    },
    // TXT_INCOMPATIBLE
    {
        "This update is not compatible with your existing KV99/00 installation. Please download the full update instead.",
        "Esta actualizaci\xF3n no es compatible con tu instalaci\xF3n actual del KV99/00. Intenta bajarte de Internet la actualizaci\xF3n completa.",  // Esta actualización no es compatible con tu instalación actual del KV99/00. Intenta bajarte de Internet la actualización completa.
        "Cette mise \xE0 jour n'est pas compatible avec la version de KV99/00 install\xE9" "e sur votre ordinateur. Veuillez t\xE9l\xE9" "charger la mise \xE0 jour compl\xE8te.",  // Cette mise à jour n'est pas compatible avec la version de KV99/00 installée sur votre ordinateur. Veuillez télécharger la mise à jour complète.
        "Questo aggiornamento non \xE8 compatibile con la versione di KV99/00 installata. Scarica la versione completa dell'aggiornamento.",  // Questo aggiornamento non è compatibile con la versione di KV99/00 installata. Scarica la versione completa dell'aggiornamento.
        "Denne oppdateringer er ikke kompatibel med din n\xE5v\xE6rende versjon av KV99/00. Vennligst last ned den fulle oppdateringsversjonen i stedet.",  // Denne oppdateringer er ikke kompatibel med din nåværende versjon av KV99/00. Vennligst last ned den fulle oppdateringsversjonen i stedet.
        "Esta actualiza\xE7\xE3o n\xE3o \xE9 compat\xEDvel com a sua presente instala\xE7\xE3o do KV99/00. Por favor fa\xE7" "a o 'download' da actualiza\xE7\xE3o total.",  // Esta actualização não é compatível com a sua presente instalação do KV99/00. Por favor faça o 'download' da actualização total.
        "Denna uppdatering \xE4r ej kompatibel med din tidigare KV99/00 installation. Var v\xE4nlig ladda ner denna fulla updateringsversionen ist\xE4llet.",  // Denna uppdatering är ej kompatibel med din tidigare KV99/00 installation. Var vänlig ladda ner denna fulla updateringsversionen istället.
    },
    // TXT_QUICKSTART_OLD
    {
        "The quick start files from your original installation are out of date. They will still work, but will not contain the most recent data.",
        "Los ficheros de partidas rapidas de tu instalacion original han caducado. Funcionan, pero no contienen los datos mas recientes.",
        "Les parties express stock\xE9" "es sur votre installation d'origine sont p\xE9rim\xE9" "es. Elles fonctionneront encore, mais ne contiendront pas les donn\xE9" "es les plus r\xE9" "centes.",  // Les parties express stockées sur votre installation d'origine sont périmées. Elles fonctionneront encore, mais ne contiendront pas les données les plus récentes.
        "I file di Avvio Rapido dell'installazione precedente non sono recenti. I file funzionano ancora, ma non contengono il database aggiornato.",
        "Hurtigstartfilene fra din opprinnelige innstallering er for gamle. De vil fremdeles fungere, men vil ikke inneholde de nyeste dataene.",
        "Os ficheiros de in\xED" "cios r\xE1pidos est\xE3o desactualizados. Eles ainda ser\xE3o funcionais, mas n\xE3o incluem os dados mais recentes.",  // Os ficheiros de inícios rápidos estão desactualizados. Eles ainda serão funcionais, mas não incluem os dados mais recentes.
        "Dina snabbstartfiler fr\xE5n originalinstallationen \xE4r gamla. De kommer fortfarande att fungera, men inneh\xE5ller ej den senaste uppdateringarna.",  // Dina snabbstartfiler från originalinstallationen är gamla. De kommer fortfarande att fungera, men innehåller ej den senaste uppdateringarna.
    },
    // TXT_QUICKSTART_DELETE
    {
        "Delete the quick start files (recommended) ?",
        "\xBF" "Borrar los ficheros de partidas rapidas (recomendado)?",  // ¿Borrar los ficheros de partidas rapidas (recomendado)?
        "Supprimer les parties express (recommand\xE9) ?",  // Supprimer les parties express (recommandé) ?
        "Vuoi cancellare i file di Avvio Rapido (raccomandato) ?",
        "Slett hurtigstartfilene (anbefales) ?",
        "Apagar os ficheiros de in\xED" "cios r\xE1pidos (recomend\xE1vel) ?",  // Apagar os ficheiros de inícios rápidos (recomendável) ?
        "Radera snabbstartsfiler (rekomenderas) ?",
    },
    // TXT_LOCATION_PROMPT
    {
        "",
        "",
        "",
        "",
        "",
        "",
        "",
    },
    // TXT_WRITE_FAILED
    {
        "",
        "",
        "",
        "",
        "",
        "",
        "",
    },
};
