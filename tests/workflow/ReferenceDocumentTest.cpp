// The reference document's catalogue of materials says what the program computes with:
// its rows follow the catalogue, and its laws, limits and sample conductivities are the
// engine's. A material added to the tables and not to the document fails here. The
// document also words the check's verdicts as the program does.
#include "AcceptedCheck.h"
#include "InputModel.h"
#include "TCalc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Document() {
    std::ifstream file(IZOL_REFERENCE_HTML, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The cells of every row of the table whose opening tag is `table`. Plain searches rather
// than std::regex: GCC with the sanitizers warns inside <regex>.
std::vector<std::vector<std::string>> Rows(const std::string& html, const std::string& table) {
    const auto from = html.find(table);
    const auto to = html.find("</table>", from);
    if (from == std::string::npos || to == std::string::npos) return {};
    const std::string body = html.substr(from, to - from);
    const std::string open = "<tr><td class=\"exact\">";
    std::vector<std::vector<std::string>> rows;
    for (auto at = body.find(open); at != std::string::npos; at = body.find(open, at)) {
        at += open.size();
        const auto end = body.find("</tr>", at);
        if (end == std::string::npos) break;
        const std::string cells = body.substr(at, end - at);
        std::vector<std::string> texts;
        std::size_t cell = 0;
        for (auto close = cells.find("</td>"); close != std::string::npos;
             close = cells.find("</td>", cell)) {
            std::string text = cells.substr(cell, close - cell);
            if (text.starts_with("<td>")) text.erase(0, 4);
            texts.push_back(text);
            cell = close + 5;
        }
        rows.push_back(texts);
    }
    return rows;
}

// A number as the document writes it, with a decimal comma; from_chars, which no locale
// changes.
double Number(std::string text) {
    for (char& c : text)
        if (c == ',') c = '.';
    double value = std::nan("");
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The numbers with a decimal comma in a law as written, in order.
std::vector<double> Coefficients(const std::string& law) {
    const auto digitsEnd = [&law](std::size_t at) {
        while (at < law.size() && law[at] >= '0' && law[at] <= '9')
            ++at;
        return at;
    };
    std::vector<double> k;
    for (std::size_t at = 0; at < law.size();) {
        const std::size_t whole = digitsEnd(at);
        if (whole > at && whole < law.size() && law[whole] == ',') {
            const std::size_t end = digitsEnd(whole + 1);
            if (end > whole + 1) {
                k.push_back(Number(law.substr(at, end - at)));
                at = end;
                continue;
            }
        }
        at = std::max(whole, at + 1);
    }
    return k;
}

const char* UsedFor(workflow::ShownFor shown) {
    switch (shown) {
    case workflow::ShownFor::PipeAndPlane:
        return "труба, плоскость";
    case workflow::ShownFor::PipeOnly:
        return "только труба";
    case workflow::ShownFor::PlaneAndLargePipe:
        return "плоскость; труба от 273 мм";
    }
    return "";
}

TEST(ReferenceDocument, MaterialTablesFollowTheCatalogueAndTheLaws) {
    const std::string html = Document();
    ASSERT_FALSE(html.empty()) << IZOL_REFERENCE_HTML;
    const auto laws = Rows(html, "<table class=\"materials\">");
    const auto samples = Rows(html, "<table class=\"numbers\">\n<thead><tr><th>Материал</th>");
    const auto catalogue = workflow::MaterialCatalogue();
    ASSERT_EQ(laws.size(), catalogue.size());
    ASSERT_EQ(samples.size(), catalogue.size());

    T_calc engine;
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const workflow::MaterialSpec& m = catalogue[i];
        SCOPED_TRACE(std::string(m.text));
        ASSERT_EQ(laws[i].size(), 4u);
        EXPECT_EQ(laws[i][0], m.text);
        EXPECT_EQ(laws[i][3], UsedFor(m.shownFor));
        engine.MaterialIndex = workflow::MaterialIndexFromValue(m.value);
        ASSERT_EQ(samples[i].size(), 4u);
        EXPECT_EQ(samples[i][0], m.text);
        for (int column = 1; column <= 3; ++column) {
            const double t = 100.0 * (column - 1);
            const std::string shown = samples[i][std::size_t(column)];
            const std::size_t decimals = shown.size() - shown.find(',') - 1;
            EXPECT_NEAR(Number(shown), engine.Conductivity(t),
                        0.5 * std::pow(10.0, -double(decimals)))
                << "at " << t << " °C";
        }
        EXPECT_EQ(Number(laws[i][2]), engine.UpperLimit);

        // The law as written: a [+ b·t [+ c·t²]].
        std::vector<double> k = Coefficients(laws[i][1]);
        k.resize(3, 0.0);
        for (double t : {0.0, 100.0, 450.0})
            EXPECT_NEAR(k[0] + k[1] * t + k[2] * t * t, engine.Conductivity(t), 1e-12)
                << laws[i][1] << " at " << t << " °C";
    }
}

} // namespace

namespace {

// Every verdict of the check at the accepted thickness is explained in the document, as the
// program words it, with the clause of the norm behind the allowance.
TEST(ReferenceDocument, ExplainsEveryVerdictOfTheCheck) {
    using workflow::CheckState;
    const std::string html = Document();
    for (CheckState state : {CheckState::Met, CheckState::WithinAllowance, CheckState::NotMet,
                             CheckState::BeyondProducts}) {
        const std::string verdict = workflow::CheckVerdict(state, 50);
        EXPECT_NE(html.find(verdict), std::string::npos) << verdict;
    }
    EXPECT_NE(html.find("СП 61.13330.2012, п. 6.12"), std::string::npos);
    EXPECT_NE(html.find(std::to_string(workflow::LargestProductThickness) + "&nbsp;мм"),
              std::string::npos);
}

} // namespace
