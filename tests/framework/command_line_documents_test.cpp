// Command-line documents: stripping the program path, splitting the rest, and which start-up
// events follow from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/command_line_documents.h"

namespace {

using namespace qv;
using Docs = std::vector<std::string>;

struct DeliveryCase {
    const char* name;
    std::string command_line;
    bool has_handler;
    Docs open_documents;
    bool new_document;
};

void PrintTo(const DeliveryCase& c, std::ostream* os) { *os << c.name; }

class DocumentDelivery : public testing::TestWithParam<DeliveryCase> { };

TEST_P(DocumentDelivery, DeliversTheseEvents)
{
    const DeliveryCase& c = GetParam();
    const auto delivery = plan_document_delivery(c.command_line, true, c.has_handler);
    EXPECT_EQ(delivery.open_documents, c.open_documents);
    EXPECT_EQ(delivery.new_document, c.new_document);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, DocumentDelivery,
    testing::Values(
        DeliveryCase{"Empty", "", true, {}, true},
        DeliveryCase{"QuotedProgramAlone", R"("C:\Apps\Holler pad.exe")", true, {}, true},
        DeliveryCase{"UnquotedProgramAlone", R"(C:\Apps\Hollerpad.exe)", true, {}, true},
        DeliveryCase{"TwoQuotedPathsInOrder",
                     R"("C:\H.exe" "C:\a.txt" "D:\b.txt")",
                     true,
                     {R"(C:\a.txt)", R"(D:\b.txt)"},
                     false},
        DeliveryCase{"QuotedPathWithSpacesThenBareName",
                     R"("C:\H.exe" "C:\My Docs\a.txt" b.txt)",
                     true,
                     {R"(C:\My Docs\a.txt)", "b.txt"},
                     false},
        DeliveryCase{"UnquotedPathWithSpacesIsTwoArguments",
                     R"(H.exe C:\My Docs\a.txt)",
                     true,
                     {R"(C:\My)", R"(Docs\a.txt)"},
                     false},
        DeliveryCase{"SpacesOnlyDeliverNothing", R"("C:\H.exe"   )", true, {}, false},
        DeliveryCase{"OneTrailingSpaceAfterBareProgramDeliversNothing", "H.exe ", true, {}, false},
        DeliveryCase{"RunsOfSpacesBetweenArguments", "H.exe   a.txt    b.txt  ", true, {"a.txt", "b.txt"}, false},
        DeliveryCase{"QuotedArgumentNeedsNoSpaceAfterIt", R"(H.exe "a b"c)", true, {"a b", "c"}, false},
        DeliveryCase{"UnclosedQuoteRunsToTheEnd", R"(H.exe "C:\My Docs\a.txt)", true, {R"(C:\My Docs\a.txt)"}, false},
        DeliveryCase{"UnclosedProgramQuoteLeavesNothing", R"("C:\H.exe a.txt)", true, {}, true},
        DeliveryCase{"EmptyQuotesNameNoDocument", R"(H.exe "" a.txt)", true, {"a.txt"}, false},
        DeliveryCase{"NoHandlerGetsNewDocumentDespiteFiles", R"("C:\H.exe" "C:\a.txt")", false, {}, true},
        DeliveryCase{"NoHandlerAndSpacesOnly", "H.exe   ", false, {}, true},
        DeliveryCase{"NonAsciiBytesPassThrough",
                     "H.exe \xE6\x97\xA5\xE6\x9C\xAC.txt",
                     true,
                     {"\xE6\x97\xA5\xE6\x9C\xAC.txt"},
                     false}),
    [](const testing::TestParamInfo<DeliveryCase>& info) { return std::string(info.param.name); });

TEST(DocumentDeliveryWithoutApplication, DeliversNoNewDocument)
{
    const auto delivery = plan_document_delivery("", false, false);
    EXPECT_TRUE(delivery.open_documents.empty());
    EXPECT_FALSE(delivery.new_document);
}

TEST(CommandLineAfterProgram, KeepsWhatFollowsThePath)
{
    EXPECT_EQ(command_line_after_program(R"("C:\a b\H.exe" x)"), " x");
    EXPECT_EQ(command_line_after_program("H.exe x y"), " x y");
    EXPECT_EQ(command_line_after_program(R"("C:\H.exe"x)"), "x");
    EXPECT_EQ(command_line_after_program("\""), "");
}

// Splitting reads nothing past the text it is given: the views below end before bytes that
// would change the result if they were read.
TEST(SplitDocumentArguments, StaysInsideTheGivenText)
{
    const std::string buffer = R"( "abc"def" tail)";
    EXPECT_EQ(split_document_arguments(std::string_view(buffer).substr(0, 4)), Docs{"ab"});
    EXPECT_EQ(split_document_arguments(std::string_view(buffer).substr(0, 2)), Docs{});
    EXPECT_EQ(split_document_arguments(std::string_view(buffer).substr(6, 3)), Docs{"def"});
}

}  // namespace
