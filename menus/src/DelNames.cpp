#include "kcs/menus/DelNames.h"

#include "kcs/common/DurableFile.h"
#include "kcs/common/NumberRanges.h"
#include "kcs/common/RunError.h"

namespace kcs::menus {

using records::Field;

void ScrambleName(std::string& text, bool reverse) {
    for (char& c : text) {
        if (c == ' ') continue;
        const auto code = static_cast<unsigned char>(c);
        const bool odd = (code % 2) != 0;
        const int shift = reverse ? (odd ? -7 : -3) : (odd ? 3 : 7);
        c = static_cast<char>(static_cast<unsigned char>(code + shift));
    }
}

void DeleteClientNames(app::ClientStore& store, app::MessageBoxes& boxes) {
    if (boxes.message(kDeleteNamesWarning, "WARNING!", app::MsgIcon::Critical, app::MsgButtons::YesNo) !=
        app::MsgAnswer::Yes)
        return;

    std::vector<int> deleted;
    for (std::int16_t i = 1; i <= store.NumClients(); ++i) {
        records::ClientRecord record = store.record(i);
        if (record.raw(Field::NameDeleted) != "0") continue;
        std::string name(record.raw(Field::Name));
        ScrambleName(name, false);
        record.set(Field::Name, name);
        record.set(Field::NameDeleted, "1");
        try {
            store.update(i, record);
        } catch (const RunError& e) {
            std::vector<int> left;
            for (std::int16_t j = i; j <= store.NumClients(); ++j)
                if (store.record(j).raw(Field::NameDeleted) == "0") left.push_back(j);
            std::string text = app::runErrorText(e.number(), e.description()) + "\r\r";
            text += deleted.empty() ? "No client name was deleted." : "Names deleted: " + numbered("client", deleted) + ".";
            text += "\rNames not deleted: " + numbered("client", left) +
                    ". Run Delete Names again once the data disk can be written.";
            boxes.message(text, "Delete Names", app::MsgIcon::Critical, app::MsgButtons::Ok);
            return;
        }
        deleted.push_back(i);
    }
    // Copies of the client file that interrupted saves left beside it still hold the
    // names in the clear; a drive whose names were deleted must not carry them away.
    removeStagingLeftovers(store.ClientFilePath());
    boxes.message(kProcessComplete, "", app::MsgIcon::None, app::MsgButtons::Ok);
}

}  // namespace kcs::menus
