// The substance dependency/abuse classification: seven dependency criteria (three or
// more met is a dependency classification), four abuse criteria, the client's own
// ratings, and in print mode the paragraph that explains it all.

#include <string>

#include "kcs/scoring/Scorer.h"

namespace kcs::scoring {

namespace {

void dropLastTwo(std::string& s) { s.erase(s.size() >= 2 ? s.size() - 2 : 0); }

}  // namespace

const Classification& Scorer::ClassifySubstanceUse(int mode) {
    const auto& a = client_.AnswerValues;
    const auto& points = scores_.ItemPoints;
    auto isTrue = [&](int item) { return a[item] == 1; };
    auto choice123 = [&](int item) { return a[item] >= 1 && a[item] <= 3; };
    auto answered = [&](int item) { return a[item] != 0; };
    const int alcoholArrests = NumericValue(client_.CourtValues[9]);
    const int drugArrests = NumericValue(client_.CourtValues[10]);

    Classification c;
    c.ArrestsFlag = alcoholArrests >= 2 || drugArrests >= 2;

    const bool criteria[8] = {
        false,
        (answered(66) || answered(141)) && (isTrue(66) || choice123(141)),
        (answered(142) || answered(143)) && (choice123(142) || choice123(143)),
        (answered(7) || answered(144)) && (isTrue(7) || choice123(144)),
        (answered(151) || answered(145) || answered(154)) &&
            (choice123(145) || points[151] > 1 || points[154] > 1),
        (answered(32) || answered(146)) && (isTrue(32) || choice123(146)),
        (answered(53) || answered(148)) && (isTrue(53) || choice123(148)),
        (answered(96) || answered(140)) && (isTrue(96) || choice123(140)),
    };
    for (int k = 1; k <= 7; ++k)
        if (criteria[k]) ++c.DependencyCriteria;
    c.PhysiologicalFlag = criteria[1] || criteria[2];

    if (c.DependencyCriteria >= 3) {
        c.DependencyFlag = 1;
        for (int item : {140, 141, 142, 143, 144, 145, 146, 148})
            if (choice123(item)) c.DependencyList += std::to_string(item) + ", ";
        for (int item : {7, 32, 53, 66, 96})
            if (isTrue(item)) c.DependencyList += " " + std::to_string(item) + ", ";
        if (points[151] > 0) c.DependencyList += " 151, ";
        if (points[154] > 0) c.DependencyList += " 154, ";
        dropLastTwo(c.DependencyList);

        std::string& t = c.ToleranceText;
        if (isTrue(66)) {
            t += " 66 ";
            t = "(Tolerance: " + t;
        }
        if (choice123(141)) {
            if (t.empty()) t = "(Tolerance:"; else t += ", ";
            t += "141";
        }
        if (choice123(142)) {
            t += t.empty() ? "(" : ", ";
            t += "Withdrawal: 142";
            if (choice123(143)) t += ", 143";
        } else if (choice123(143)) {
            t += t.empty() ? "(" : ", ";
            t += "Withdrawal: 143";
        }
        if (!t.empty()) t += ").";
    }

    auto group = [&](std::initializer_list<int> items, bool met) {
        bool any = false;
        for (int item : items) any = any || answered(item);
        if (!any) {
            c.OmittedFlag = true;
            return;
        }
        if (met) ++c.AbuseCount;
    };
    group({62, 59, 136, 147}, isTrue(62) || isTrue(59) || choice123(136) || a[147] == 1 || a[147] == 3);
    group({147, 137}, choice123(137) || a[147] == 2);
    group({138}, choice123(138) || c.ArrestsFlag);
    group({68, 139, 85}, choice123(139) || isTrue(68) || isTrue(85));

    for (int item : {136, 137, 138, 139, 147})
        if (choice123(item)) c.AbuseList += std::to_string(item) + ", ";
    for (int item : {59, 62, 68, 85})
        if (isTrue(item)) c.AbuseList += " " + std::to_string(item) + ", ";
    if (alcoholArrests >= 2) c.AbuseList += " Alcohol Arrests, ";
    if (drugArrests >= 2) c.AbuseList += " Drug Arrests, ";
    if (!c.AbuseList.empty()) {
        dropLastTwo(c.AbuseList);
        c.AbuseList += ".";
    }

    // Later rules override earlier ones: the most severe rating decides.
    c.DrinkingRating = c.DrugRating = "a minimum problem";
    struct Rule { int item; int choice; const char* rating; int severity; const char* subject; };
    static constexpr Rule kRules[] = {
        {149, 3, "a mild problem", 1, "alcohol"},     {153, 3, "a mild problem", 1, "drugs"},
        {149, 2, "a moderate problem", 2, "alcohol"}, {153, 2, "a moderate problem", 2, "drugs"},
        {149, 1, "a severe problem", 3, "alcohol"},   {153, 1, "a severe problem", 3, "drugs"},
    };
    for (const auto& r : kRules) {
        if (a[r.item] != r.choice) continue;
        (r.item == 149 ? c.DrinkingRating : c.DrugRating) = r.rating;
        c.RatingSeverity = r.severity;
        c.RatingSubject = r.subject;
    }
    if (c.DrinkingRating != "a minimum problem" && c.DrugRating != "a minimum problem")
        c.RatingSubject = "alcohol and drugs";
    c.SelfRatingSentence =
        c.RatingSeverity >= 1
            ? " This client describes their drinking as " + c.DrinkingRating + " and their drug use as " +
                  c.DrugRating + "."
            : std::string(" This client's self-ratings of their drinking and drug use was 'no problem.'");

    if (mode != 1 && !c.OmittedFlag) {
        const bool item74 = isTrue(74);
        const bool dependent = c.DependencyFlag != 0;
        std::string& p = c.Paragraph;
        p = "DEPENDENCY/ABUSE CLASSIFICATION: ";
        if (dependent) {
            p += "Three or more of the seven DSM-IV dependency items (or their equivalents) are admitted to, "
                 "which meets the 'dependency' criteria as defined here.";
            p += " These admissions include: " + c.DependencyList + ".";
            p += item74 ? " Moreover, this person reports (item #74) having been diagnosed 'substance dependent' "
                          "in the past."
                        : " This person reports (item #74) that he or she has not been diagnosed 'substance "
                          "dependent' in the past.";
            p += c.PhysiologicalFlag
                     ? " This is a substance dependence classification with physiological dependence " +
                           c.ToleranceText
                     : std::string(" This is a substance dependence classification without physiological "
                                   "dependence.");
        } else {
            p += "Three or more of the seven DSM-IV dependency items (or their equivalents) are not admitted to, "
                 "consequently the classification of 'dependency' as defined here does not apply.";
            p += item74 ? " However, this person reports (item #74) having been diagnosed 'substance dependent' "
                          "in the past. By DSM-IV definition, the classification of 'dependency' still applies."
                        : " Moreover, this person reports (item #74) that he or she has not been diagnosed "
                          "'substance dependent' in the past.";
        }
        if (!item74 && !dependent) {
            if (c.AbuseCount > 0)
                p += " One or more of the substance abuse items (or their equivalents) are admitted to, which "
                     "meets the criteria of 'substance abuse' as defined here. These admissions include: " +
                     c.AbuseList;
            else
                p += " One or more of the substance abuse items (or their equivalents) are not admitted to, "
                     "consequently the classification of 'substance abuse' as defined here does not apply.";
        }
        p += c.SelfRatingSentence;

        const bool alcoholHigh = scores_.Percentile[kAlcohol] >= 70;
        const bool drugsHigh = scores_.Percentile[kDrugs] >= 70;
        int elevated = 0;
        std::string scalePhrase, elevatedSubject;
        if (alcoholHigh && drugsHigh) {
            p += " This individual's Alcohol Scale and Drugs Scale scores are elevated (at or above the 70th "
                 "percentile) and represent drinking and drug use risk of further involvement, abuse and/or "
                 "relapse.";
            elevated = 2;
            scalePhrase = "Alcohol and Drugs Scales";
            elevatedSubject = "alcohol and drugs";
        } else if (alcoholHigh || drugsHigh) {
            const std::string high = alcoholHigh ? "Alcohol Scale" : "Drugs Scale";
            const std::string other = alcoholHigh ? "Drugs Scale" : "Alcohol Scale";
            p += " This person's " + high + " score is elevated (at or above the 70th percentile) whereas their " +
                 other + " score is not (at or below the 69th percentile) elevated.";
            p += " This KCS profile is not uncommon in the early stages of substance use, or after relapse.";
            elevated = 1;
            scalePhrase = high;
            elevatedSubject = alcoholHigh ? "alcohol" : "drugs";
        } else {
            p += " This individual's Alcohol Scale and Drugs Scale scores are at or below the 69th percentile and "
                 "do not represent significant substance (alcohol or other drugs) use risk.";
        }
        const std::string phrase = scalePhrase.empty() ? "Alcohol and/or Drugs Scales" : scalePhrase;

        if (!item74 && !dependent && c.AbuseCount == 0) {
            if (elevated >= 1)
                p += " Problematic risk of " + elevatedSubject +
                     " is present. Although not meeting the DSM-IV criteria for dependence or abuse, this client "
                     "demonstrates a substance use risk.";
            else if (c.RatingSeverity == 0)
                p += " According to DSM-IV criteria as represented in the KCS, this person does not meet the "
                     "criteria of dependency or abuse.";
            else
                p += " According to DSM-IV criteria as represented in the KCS, this person does not meet the "
                     "criteria of dependency or abuse. Yet, self-ratings suggest " +
                     c.RatingSubject + " concern.";
        } else if (!item74 && !dependent) {
            p += " In summary, this client meets the DSM-IV substance abuse classification.";
            p += " And within this abuse category their degree of risk is represented by their " + phrase +
                 " score.";
        } else if (!dependent) {
            p += " The 'once dependent, always dependent' theory is controversial. Some evaluators prefer "
                 "considering Alcohol and Drugs Scale risk (abuse, dependency, relapse) scores.";
        } else {
            p += " In summary, this client meets the DSM-IV substance dependency classification.";
            p += " And within this dependent category their degree of risk is represented by their " + phrase +
                 " score.";
            if (c.RatingSeverity == 0)
                p += " Review this client's Truthfulness Scale score to establish how open and truthful they are "
                     "about their substance use. It is not unusual for defendants to minimize their drug usage in "
                     "court-related settings.";
        }
        if (elevated == 2)
            p += " Use of multiple substances simultaneously or sequentially is likely. A detailed history "
                 "including review of court records could be helpful.";
    }

    scores_.Class = std::move(c);
    return scores_.Class;
}

}  // namespace kcs::scoring
