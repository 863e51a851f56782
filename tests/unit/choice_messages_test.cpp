#include <gtest/gtest.h>

#include <string>

#include "console/choice.h"
#include "console/messages.h"

namespace dvx {
namespace {

TEST(ActionFromArgument, ComparesTheWholeArgumentCaseSensitively) {
    struct Case {
        const char* argument;
        Action action;
    };
    const Case cases[] = {{"X", Action::extract}, {"x", Action::extract}, {"i", Action::rebuild},
                          {"I", Action::rebuild}, {"", Action::none},       {"x ", Action::none},
                          {" x", Action::none},   {"xx", Action::none},     {"-x", Action::none},
                          {"/I", Action::none},   {"e", Action::none},      {"ix", Action::none}};
    for (const Case& c : cases) EXPECT_EQ(actionFromArgument(c.argument), c.action) << c.argument;
}

TEST(ActionFromAnswer, KnowsTheFourLetters) {
    for (int c = 0; c < 256; ++c) {
        const char answer = static_cast<char>(c);
        const Action expected = (answer == 'x' || answer == 'X')   ? Action::extract
                                : (answer == 'i' || answer == 'I') ? Action::rebuild
                                                                   : Action::none;
        EXPECT_EQ(actionFromAnswer(answer), expected) << c;
    }
}

TEST(ResultMessage, HasOneTextPerCode) {
    struct Case {
        ResultCode code;
        const char* text;
    };
    const Case cases[] = {
        {0, "\nDateien erfolgreich extrahiert/eingefuegt\n"},
        {1, "\nDatei konnte nicht geoeffnet werden\n"},
        {2, "\nSEEK_ERROR in dralvenix.dat\n"},
        {3, "\nREAD_ERROR in dralvenix.dat\n"},
        {4, "\nDatei beschaedigt\n"},
        {5, "\nUngueltige Auswahl: 'X' zum Entpacken, 'I' zum Einfuegen\n"},
        {6, "\nNicht genug Arbeitsspeicher fuer den Datenpuffer\n"},
        {10, "\nAusgabedatei konnte nicht geoeffnet werden\n"},
        {11, "\nFehler beim Schreiben der entpackten Dateien\n"},
        {12, "\nDateidaten konnten nicht vollstaendig gelesen werden\n"},
        {20, "\nKonnte dralvenx.new nicht erstellen\n"},
        {21, "\nFehler beim Schreiben von dralvenix.new\n"},
        {22, "\nVerzeichnis von dralvenix.dat ungueltig, dralvenix.new nicht erstellt\n"},
        {7, "\nUnbekannter Fehler\n"},
        {-1, "\nUnbekannter Fehler\n"},
        {255, "\nUnbekannter Fehler\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(std::string(resultMessage(c.code)), c.text) << c.code;
}

}  // namespace
}  // namespace dvx
