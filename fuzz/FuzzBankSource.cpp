// The question-bank compiler on any source: the input is the English source, or, split
// at its first NUL byte, the English and the Spanish one. Either the bank is built and
// the program can open it, or the compiler fails naming a source (and its line) and
// leaves neither the bank nor its temporary file behind.

#include <iostream>
#include <sstream>

#include "FuzzFolder.h"
#include "kcs/common/RunError.h"
#include "kcs/questionbank/QuestionBank.h"

int kcs_bankc_main(int argc, char** argv);

void kcs::fuzz::oneInput(const std::string& input) {
    const auto split = input.find('\0');
    const auto english = place("english.txt", input.substr(0, split));
    const auto spanish = place("spanish.txt", split == std::string::npos ? "" : input.substr(split + 1));
    const auto bank = programFolder() / questionbank::kBankFileName;
    std::filesystem::remove(bank);

    std::vector<std::string> args = {"kcs-bankc", bank.string(), "English=" + english.string()};
    if (split != std::string::npos) args.push_back("Spanish=" + spanish.string());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::ostringstream said;
    auto* const old = std::cerr.rdbuf(said.rdbuf());
    const int status = kcs_bankc_main(static_cast<int>(args.size()), argv.data());
    std::cerr.rdbuf(old);

    if (status != 0) {
        const std::string message = said.str();
        check(message.find(english.string()) != std::string::npos || message.find(spanish.string()) != std::string::npos,
              "a compiler error that names no source: " + message);
        check(!std::filesystem::exists(bank) && !std::filesystem::exists(bank.string() + ".tmp"),
              "a failed build left a bank behind");
        return;
    }
    try {
        (void)questionbank::Workspace().OpenDatabase(bank).OpenTable("English");
    } catch (const RunError& e) {
        // A bank of another length than the test's is built, and refused by the program.
        check(e.number() == err::BankUnrecognizedFormat, std::string("a compiled bank the program cannot open: ") + e.what());
        mustName(e, bank.string());
    }
}
