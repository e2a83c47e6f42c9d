#include "common/csv.h"
#include "common/text.h"

#include <gtest/gtest.h>

#include <sstream>

namespace hrln::csv {
namespace {

TEST(CsvTest, WriterQuotesTextAndLeavesNumbersBare)
{
    LineWriter w;
    const std::string line = w.text("Say \"hi\", please   ").number(-12).text("").finish();
    EXPECT_EQ(line, "\"Say \"\"hi\"\", please\",-12,\"\"\r\n");
    EXPECT_EQ(w.number(1).finish(), "1\r\n");
}

TEST(CsvTest, RoundTripThroughTheReader)
{
    LineWriter w;
    std::string file = w.text("a,b").text("quote \" inside").number(42).finish();
    file += w.text("multi\nline").number(7).finish();
    std::istringstream in(file);
    RecordReader reader(in);
    Fields f;
    ASSERT_TRUE(reader.next(f));
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0], "a,b");
    EXPECT_EQ(f[1], "quote \" inside");
    EXPECT_EQ(NumberField(f, 2), 42);
    ASSERT_TRUE(reader.next(f));
    EXPECT_EQ(TextField(f, 0, 80), "multi\nline");
    EXPECT_EQ(NumberField(f, 1), 7);
    EXPECT_FALSE(reader.next(f));
    EXPECT_EQ(reader.bytesRead(), file.size());
}

TEST(CsvTest, WidthsMissingFieldsAndNonNumbers)
{
    const Fields f = ParseRecord("\"Grüße aus Köln\",abc,\r\n");
    EXPECT_EQ(TextField(f, 0, 5), "Grüße");
    EXPECT_EQ(NumberField(f, 1), 0);
    EXPECT_EQ(NumberField(f, 2), 0);
    EXPECT_EQ(TextField(f, 7, 20), "");
    EXPECT_EQ(NumberField(f, 9), 0);
}

TEST(CsvTest, ReaderTellsWhereEachRecordStartedAndWhetherItsQuoteClosed)
{
    // A field spanning lines moves the next record's number on by its lines;
    // an open quote taken back to its first line gives the others back.
    std::istringstream in("\"a\r\nb\",1\r\n\"open,2\r\n3,\"x\"\"y\"\r\n");
    RecordReader reader(in);
    Fields f;
    ASSERT_TRUE(reader.next(f));
    EXPECT_EQ(reader.recordLine(), 1u);
    EXPECT_EQ(reader.recordText(), "\"a\r\nb\",1\r\n");
    EXPECT_FALSE(reader.quoteLeftOpen());
    ASSERT_TRUE(reader.next(f));
    EXPECT_EQ(reader.recordLine(), 3u);
    EXPECT_TRUE(reader.quoteLeftOpen());
    EXPECT_EQ(reader.recordText(), "\"open,2\r\n");
    ASSERT_TRUE(reader.next(f));
    EXPECT_EQ(reader.recordLine(), 4u);
    EXPECT_FALSE(reader.quoteLeftOpen());
    EXPECT_EQ(f, (Fields{"3", "x\"y"}));
    EXPECT_FALSE(reader.next(f));
}

TEST(CsvTest, EveryLineEndCountsAndTheFirstRecordMayChooseSemicolons)
{
    // CR alone, CR LF and LF in one file: four lines, each numbered, each keeping its end.
    std::istringstream in("a;1\rb;2\r\nc;3\n\"d\r;x\";4");
    RecordReader reader(in);
    reader.detectSeparator();
    Fields f;
    std::vector<Fields> records;
    std::vector<std::uint64_t> lines;
    while (reader.next(f)) {
        records.push_back(f);
        lines.push_back(reader.recordLine());
    }
    EXPECT_EQ(reader.separator(), ';');
    EXPECT_EQ(records, (std::vector<Fields>{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d\r;x", "4"}}));
    EXPECT_EQ(lines, (std::vector<std::uint64_t>{1, 2, 3, 4}));
    EXPECT_EQ(reader.bytesRead(), in.str().size());

    // A comma anywhere outside quotes keeps the comma; a semicolon inside quotes chooses nothing.
    for (const char* first : {"a;b,c\n", "\"a;b\"\n"}) {
        std::istringstream one(first);
        RecordReader commas(one);
        commas.detectSeparator();
        ASSERT_TRUE(commas.next(f));
        EXPECT_EQ(commas.separator(), ',') << first;
    }
}

TEST(CsvTest, BadInputHasADefinedResult)
{
    // An unbalanced quote in one record costs that record only.
    std::istringstream in("\"open,1\r\n\"next\",2\r\n\"last\",3\r\n");
    RecordReader reader(in);
    Fields f;
    ASSERT_TRUE(reader.next(f));
    EXPECT_EQ(f, Fields{"open,1"});
    ASSERT_TRUE(reader.next(f));
    EXPECT_EQ(f, (Fields{"next", "2"}));
    ASSERT_TRUE(reader.next(f));
    EXPECT_EQ(f, (Fields{"last", "3"}));
    EXPECT_FALSE(reader.next(f));

    std::string huge = "\"x";
    huge += std::string(RecordReader::kMaxRecordBytes + 10, 'y');
    std::istringstream in2(huge + "\n" + std::string(RecordReader::kMaxRecordBytes, 'z') + "\n\"ok\",5\n");
    RecordReader reader2(in2);
    ASSERT_TRUE(reader2.next(f));
    EXPECT_EQ(f[0].size(), RecordReader::kMaxRecordBytes + 11);
    ASSERT_TRUE(reader2.next(f));
    EXPECT_EQ(f[0], std::string(RecordReader::kMaxRecordBytes, 'z'));
    ASSERT_TRUE(reader2.next(f));
    EXPECT_EQ(f[0], "ok");

    const Fields nul = ParseRecord(std::string("\"a\0b\",\"\xff\xfe\"", 10));
    EXPECT_EQ(TextField(nul, 0, 10), "ab");
    EXPECT_TRUE(text::IsValidUtf8(TextField(nul, 1, 10)));

    const std::string longLine(100000, 'q');
    const Fields big = ParseRecord("\"" + longLine + "\"," + longLine);
    EXPECT_EQ(TextField(big, 0, 80), std::string(80, 'q'));
    EXPECT_EQ(NumberField(big, 1), 0);
}

}  // namespace
}  // namespace hrln::csv
