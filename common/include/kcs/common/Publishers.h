#pragma once
// The two fictional publishers whose branding the program can carry, and the fixed
// notice lines of the report foot. A data drive chooses the publisher through its
// publisher flag: 'b' selects the first, any other character the second.

#include <string_view>

namespace kcs {

struct Publisher {
    std::string_view name;         // About box: publisher's name
    std::string_view rights;       // About box: one-line rights notice
    std::string_view phoneFax;     // About box: telephone and fax line
    std::string_view email;        // About box: e-mail line
    std::string_view website;      // About box: website line
    std::string_view reportLine;   // report foot: the publisher line
    std::string_view invalidHelp;  // report: completes the invalid-test explanation
    std::string_view logoFile;     // logo picture in the program folder
};

inline constexpr std::string_view kProductVersionLine = "Kestrel Conduct Screening v4.01";

// Product notice line of every report page foot (printed at column 10).
inline constexpr std::string_view kProductNoticeLine =
    "Kestrel Conduct Screening (KCS) - demonstration items and norms";

inline constexpr Publisher kFirstPublisher{
    "Bluewing Assessment Press",
    "Copyright (c) 2026 Bluewing Assessment Press. All rights reserved.",
    "Phone (555) 010-4400     Fax (555) 010-4401",
    "E-mail: help@bluewing.example.org",
    "Web: www.bluewing.example.org",
    "Bluewing Assessment Press, PO Box 555, Fairhaven, (555) 010-4400",
    "For help with this test call Bluewing Assessment Press, (555) 010-4400.",
    "logo-bluewing.svg",
};

inline constexpr Publisher kSecondPublisher{
    "Copperfield Behavioral Measures",
    "Copyright (c) 2026 Copperfield Behavioral Measures. All rights reserved.",
    "Phone (555) 010-7700     Fax (555) 010-7701",
    "E-mail: office@copperfield.example.org",
    "Web: www.copperfield.example.org",
    "Copperfield Behavioral Measures, 55 Mill Lane, Westbrook (555) 010-7700",
    "For help with this test call Copperfield Behavioral, (555) 010-7700.",
    "logo-copperfield.svg",
};

constexpr const Publisher& publisherFor(char publisherFlag) {
    return publisherFlag == 'b' ? kFirstPublisher : kSecondPublisher;
}

}  // namespace kcs
