#include "console/messages.h"

namespace dvx {

const char kBannerTitle[] = "dvxtool - Dateien aus dralvenix.dat entpacken und einfuegen\n";
const char kBannerFolders[] =
    "Die Unterordner gfx und sfx muessen zum Extrahieren vorher von Hand angelegt werden\n";
const char kPrompt[] = "\nDruecken sie 'X' zum entpacken oder 'I' zum einfuegen von Dateien\n";

namespace {

struct Message {
    ResultCode result;
    const char* text;
};

const Message kMessages[] = {
    {kSuccess, "\nDateien erfolgreich extrahiert/eingefuegt\n"},
    {kNotOpen, "\nDatei konnte nicht geoeffnet werden\n"},
    {kSeekError, "\nSEEK_ERROR in dralvenix.dat\n"},
    {kReadError, "\nREAD_ERROR in dralvenix.dat\n"},
    {kDamaged, "\nDatei beschaedigt\n"},
    {kInvalidChoice, "\nUngueltige Auswahl: 'X' zum Entpacken, 'I' zum Einfuegen\n"},
    {kNoMemory, "\nNicht genug Arbeitsspeicher fuer den Datenpuffer\n"},
    {kOutputOpenFailed, "\nAusgabedatei konnte nicht geoeffnet werden\n"},
    {kOutputWriteFailed, "\nFehler beim Schreiben der entpackten Dateien\n"},
    {kMemberReadShort, "\nDateidaten konnten nicht vollstaendig gelesen werden\n"},
    {kNewCreateFailed, "\nKonnte dralvenx.new nicht erstellen\n"},
    {kNewWriteFailed, "\nFehler beim Schreiben von dralvenix.new\n"},
    {kLayoutInvalid, "\nVerzeichnis von dralvenix.dat ungueltig, dralvenix.new nicht erstellt\n"},
};

}  // namespace

const char* resultMessage(ResultCode result) {
    for (const Message& message : kMessages) {
        if (message.result == result) return message.text;
    }
    return "\nUnbekannter Fehler\n";
}

}  // namespace dvx
