// The reference document's catalogue of materials says what the program computes with:
// its rows follow the catalogue, and its laws, limits and sample conductivities are the
// engine's. A material added to the tables and not to the document fails here.
#include "InputModel.h"
#include "TCalc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Document() {
    std::ifstream file(IZOL_REFERENCE_HTML, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The cells of every row of the table whose opening tag is `table`.
std::vector<std::vector<std::string>> Rows(const std::string& html, const std::string& table) {
    const auto from = html.find(table);
    const auto to = html.find("</table>", from);
    if (from == std::string::npos || to == std::string::npos) return {};
    const std::string body = html.substr(from, to - from);
    static const std::regex row("<tr><td class=\"exact\">(.*?)</tr>");
    static const std::regex cell("(?:^|<td>)(.*?)</td>");
    std::vector<std::vector<std::string>> rows;
    for (auto r = std::sregex_iterator(body.begin(), body.end(), row); r != std::sregex_iterator();
         ++r) {
        const std::string cells = (*r)[1];
        std::vector<std::string> texts;
        for (auto c = std::sregex_iterator(cells.begin(), cells.end(), cell);
             c != std::sregex_iterator(); ++c)
            texts.push_back((*c)[1]);
        rows.push_back(texts);
    }
    return rows;
}

// A number as the document writes it, with a decimal comma.
double Number(std::string text) {
    for (char& c : text)
        if (c == ',') c = '.';
    return std::stod(text);
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
        static const std::regex coefficient("[0-9]+,[0-9]+");
        std::vector<double> k;
        for (auto c = std::sregex_iterator(laws[i][1].begin(), laws[i][1].end(), coefficient);
             c != std::sregex_iterator(); ++c)
            k.push_back(Number(c->str()));
        k.resize(3, 0.0);
        for (double t : {0.0, 100.0, 450.0})
            EXPECT_NEAR(k[0] + k[1] * t + k[2] * t * t, engine.Conductivity(t), 1e-12)
                << laws[i][1] << " at " << t << " °C";
    }
}

} // namespace
