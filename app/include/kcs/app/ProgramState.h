#pragma once
// Everything the program shares between its screens, owned by the program and handed
// to whoever needs it.

#include <cstdint>
#include <filesystem>
#include <string>

#include "kcs/records/ClientFile.h"

namespace kcs::app {

struct ProgramState {
    // Client records: Clients, NumClients, CurClient.
    records::ClientTable table;
    // What the last load of the client records found (over capacity, trailing bytes), so
    // the screens can tell the supervisor.
    records::LoadReport LastLoad;

    // Sequence flags of the data-entry screens.
    bool EditMode = false;
    bool ContinueFlag = false;
    std::int16_t NameDeletedValue = 0;

    // Paths and flags set at start-up.
    std::filesystem::path ProgramFolder;
    std::filesystem::path IniPath;            // ProgramFolder / kcstest.ini
    std::string DataPath;                     // the data drive's designation as chosen
    std::filesystem::path ClientFilePath;     // resolved data folder / DATA401.KCS
    std::filesystem::path QuestionBankPath;   // ProgramFolder / KCS32.MDB
    std::string SoundPath;                    // as read from the settings
    char PublisherFlag = 'b';
    bool PrintDOSFlag = true;

    // Main menu options.
    bool NumLockOn = true;
    bool UnloadOthersOnActivate = false;

    // A designation or sound folder as a real path: a relative value is taken relative to
    // the program folder, so a settings file can point inside the program's own folder.
    std::filesystem::path resolve(const std::string& designation) const;
    std::filesystem::path soundFolder(const std::string& language) const;  // SoundPath/KCSTest/sound/<language>
};

}  // namespace kcs::app
