#include <gtest/gtest.h>

#include <random>

#include "core/Text.h"
#include "masks/Masks.h"
#include "tests/masks/ReferenceMatcher.h"

namespace {

// The caller's contract: fold both and append the end mark.
bool NameMatches(const std::string& Typed, const std::string& Name) {
  const TMask Mask(MaskTextForSearch(Typed));
  return Mask.MatchFrom(MaskTextForSearch(Name), 1);
}

}  // namespace

TEST(MaskCompileTest, CompiledExamples) {
  const TMask Txt("*.txt~");
  ASSERT_EQ(Txt.SlotCount(), 3);
  EXPECT_EQ(Txt.Kind(1), mkAnyRun);
  EXPECT_EQ(Txt.Kind(2), mkLiteralRun);
  EXPECT_EQ(Txt.Argument(2), ".txt~");
  EXPECT_EQ(Txt.Kind(3), mkEnd);

  const TMask Word("*abc*~");
  ASSERT_EQ(Word.SlotCount(), 5);
  EXPECT_EQ(Word.Argument(2), "abc");
  EXPECT_EQ(Word.Kind(3), mkAnyRun);
  EXPECT_EQ(Word.Argument(4), "~");

  const TMask Data("data?.csv~");
  ASSERT_EQ(Data.SlotCount(), 4);
  EXPECT_EQ(Data.Argument(1), "data");
  EXPECT_EQ(Data.Kind(2), mkAnyCharacter);
  EXPECT_EQ(Data.Argument(3), ".csv~");

  const TMask Empty("**~");
  ASSERT_EQ(Empty.SlotCount(), 4);
  EXPECT_EQ(Empty.Kind(1), mkAnyRun);
  EXPECT_EQ(Empty.Kind(2), mkAnyRun);
  EXPECT_EQ(Empty.Argument(3), "~");

  const TMask Groups("[!a-c](!xy)(pq)#*!x[0-9zz]~");
  EXPECT_EQ(Groups.Kind(1), mkExcludedRange);
  EXPECT_EQ(Groups.Argument(1), "ac");
  EXPECT_EQ(Groups.Kind(2), mkExcludedSet);
  EXPECT_EQ(Groups.Argument(2), "xy");
  EXPECT_EQ(Groups.Kind(3), mkSet);
  EXPECT_EQ(Groups.Kind(4), mkEscapedCharacter);
  EXPECT_EQ(Groups.Argument(4), "*");
  EXPECT_EQ(Groups.Kind(5), mkExcludedCharacter);
  EXPECT_EQ(Groups.Kind(6), mkRange);
  EXPECT_EQ(Groups.Argument(6), "09");  // characters between hi and "]" are ignored
}

TEST(MaskCompileTest, MalformedMasksRaiseError) {
  for (const char* Bad :
       {"abc!", "abc#", "[a-c", "[a]", "[]", "[!a]", "[!]", "[abc]", "[!ab-c]", "(abc", "*(~", "[a-]"}) {
    try {
      TMask Mask(Bad);
      ADD_FAILURE() << "compiled: " << Bad;
    } catch (const EMaskError& Error) {
      EXPECT_STREQ(Error.what(), "Error") << Bad;
    }
  }
}

TEST(MaskCompileTest, AMalformedMaskSaysWhatIsWrongAndWhere) {
  const struct {
    const char* Mask;
    TMaskProblem Problem;
    std::size_t Position;
  } Cases[] = {
      {"x[1]*/", mpBadRange, 2}, {"\xC3\xA9t\xC3\xA9[a/", mpUnclosedRange, 4}, {"(ab", mpUnclosedSet, 1},
      {"x!", mpNoOperand, 2},    {"a?b?c?d?e?f?g?h", mpTooManyParts, 15},
  };
  for (const auto& Case : Cases) {
    try {
      TMask Mask(Case.Mask);
      ADD_FAILURE() << "compiled: " << Case.Mask;
    } catch (const EMaskError& Error) {
      EXPECT_EQ(Error.Problem(), Case.Problem) << Case.Mask;
      EXPECT_EQ(Error.Position(), Case.Position) << Case.Mask;  // characters, not bytes: "été" counts 3
    }
  }
  EXPECT_EQ(MaskErrorText("(ab", EMaskError(mpUnclosedSet, 1, '(')),
            "The name mask \"(ab\" cannot be used: the \"(\" at character 1 has no \")\" after it. To find \"(\" "
            "itself in names, write #(.");
}

TEST(MaskCompileTest, FifteenSlotsIncludingTheEndElement) {
  // 14 elements: seven "?" and seven literal runs alternate, then the end element.
  EXPECT_EQ(TMask("a?b?c?d?e?f?g?").SlotCount(), 15);
  EXPECT_THROW(TMask("a?b?c?d?e?f?g?h"), EMaskError);
  EXPECT_THROW(TMask("???????????????"), EMaskError);
  EXPECT_NO_THROW(TMask("??????????????"));
}

TEST(MaskMatchTest, WorkedExamples) {
  const struct {
    const char* Mask;
    const char* Name;
    bool Match;
  } Cases[] = {
      {"*.txt~", "readme.txt~", true},
      {"*.txt~", "readme.txt.bak~", false},
      {"*.txt~", "notes.txt~old~", true},
      {"*abc*~", "xxabcyy~", true},
      {"data?.csv~", "data1.csv~", true},
      {"data?.csv~", "data.csv~", false},
      {"data?.csv~", "data12.csv~", false},
      {"[a-c]*~", "beta~", true},
      {"(!xyz)*~", "year~", false},
      {"#[*~", "[memo].doc~", true},
      {"!a*~", "a1~", false},
      {"*.txt;*.doc~", "a.txt;b.doc~", true},
      {"*.txt;*.doc~", "a.doc~", false},
  };
  for (const auto& Case : Cases)
    EXPECT_EQ(TMask(Case.Mask).MatchFrom(Case.Name, 1), Case.Match) << Case.Mask << " " << Case.Name;
}

TEST(MaskMatchTest, CallerContractCases) {
  EXPECT_TRUE(NameMatches("*report*", "Annual REPORT 2024.doc"));
  EXPECT_FALSE(NameMatches("*report*", "repo.txt"));
  EXPECT_TRUE(NameMatches("**", "anything at all"));
  EXPECT_TRUE(NameMatches("**", ""));
  EXPECT_TRUE(NameMatches("*.TXT", "notes.txt"));
  EXPECT_TRUE(NameMatches("[A-Z]*", "x.bin"));
  EXPECT_FALSE(NameMatches("[A-Z]*", "1.bin"));
  EXPECT_TRUE(NameMatches("[a-zA-Z]*", "q"));
  EXPECT_FALSE(NameMatches("[a-zA-Z]*", "_q"));
  EXPECT_FALSE(NameMatches("[z-a]*", "m"));
  EXPECT_TRUE(NameMatches("[!z-a]", "m"));
  EXPECT_FALSE(NameMatches("()*", "m"));
  EXPECT_TRUE(NameMatches("(!)", "m"));
  EXPECT_FALSE(NameMatches("(!)", "mm"));
  EXPECT_TRUE(NameMatches("*abc!", "xabcd"));
  EXPECT_TRUE(NameMatches("*abc!", "abcabc"));
  EXPECT_FALSE(NameMatches("*abc!", "xabc"));
  // A name's own "~" is an ordinary character: backups and version names match only masks meant for them.
  EXPECT_FALSE(NameMatches("*.txt", "a.txt~b"));
  EXPECT_FALSE(NameMatches("*.1", "jsr305-0.1~+svn49.jar"));
  EXPECT_FALSE(NameMatches("*.c", "x.c~"));
  EXPECT_TRUE(NameMatches("*~", "x.c~"));
  EXPECT_TRUE(NameMatches("*.c~", "x.c~"));
  EXPECT_TRUE(NameMatches("*abc#", "xabc"));
  EXPECT_FALSE(NameMatches("*abc#", "xabcd"));
  EXPECT_TRUE(NameMatches("a?c", "abc"));
  EXPECT_FALSE(NameMatches("a?c", "xabc"));
  EXPECT_TRUE(NameMatches("*\xC3\xA9*", "caf\xC3\xA9"));
}

TEST(MaskMatchTest, NamesFoldAsTheFileSystemFoldsThem) {
  EXPECT_TRUE(NameMatches("*r\xC3\xA9sum\xC3\xA9*", "R\xC3\x89SUM\xC3\x89-notes.txt"));     // résumé, RÉSUMÉ
  EXPECT_TRUE(NameMatches("\xCF\x89mega*", "\xCE\xA9mega.txt"));                            // ωmega, Ωmega
  EXPECT_TRUE(NameMatches("F\xC5\x90*", "F\xC5\x91tan\xC3\xBAs\xC3\xADtv\xC3\xA1ny.crt"));  // FŐ, Fő
  EXPECT_TRUE(NameMatches("*.\xD0\xA2\xD0\xA5\xD0\xA2", "a.\xD1\x82\xD1\x85\xD1\x82"));     // *.ТХТ
  // Sets, escapes and exclusions compare folded characters too.
  EXPECT_TRUE(NameMatches("(\xC3\x89)*", "\xC3\xA9t\xC3\xA9"));
  EXPECT_FALSE(NameMatches("!\xC3\xA9*", "\xC3\x89t\xC3\xA9"));
  // Ranges compare folded characters: typed in capitals they mean the lower case, as A to Z always did.
  EXPECT_TRUE(NameMatches("[\xC3\x80-\xC3\x9E]*", "\xC3\xA9t\xC3\xA9"));  // [À-Þ] takes é
  EXPECT_TRUE(NameMatches("[\xC3\xA0-\xC3\xBE]*", "\xC3\x89t\xC3\xA9"));  // [à-þ] takes É
  EXPECT_TRUE(NameMatches("[0-z]*", "_x"));                               // as before: "_" lies in 0..z
  // Letters whose capital is another letter's are not joined to it, as on Windows; ß is one letter.
  EXPECT_FALSE(NameMatches("*\xC4\xB1*", "I"));  // ı
  EXPECT_FALSE(
      NameMatches("*stra\xC3\x9F"
                  "e*",
                  "STRASSE"));
}

TEST(MaskMatchTest, OneCharacterIsOneUtf8Sequence) {
  EXPECT_TRUE(NameMatches("caf?.txt", "caf\xC3\xA9.txt"));
  EXPECT_TRUE(NameMatches("?\xE6\x97\xA5", "\xF0\x9F\x98\x80\xE6\x97\xA5"));
  EXPECT_TRUE(NameMatches("(\xC3\xA9\xC3\xA8)x", "\xC3\xA8x"));
  EXPECT_FALSE(NameMatches("(!\xC3\xA9)x", "\xC3\xA9x"));
  EXPECT_TRUE(NameMatches("!\xC3\xA9x", "\xC3\xA8x"));
  EXPECT_TRUE(NameMatches("[\xC3\xA0-\xC3\xBF]*", "\xC3\xA9t\xC3\xA9"));
  EXPECT_FALSE(NameMatches("[a-z]*", "\xC3\xA9t\xC3\xA9"));
}

TEST(MaskMatchTest, MatchFromAStartSlotAndFaultsGiveFalse) {
  const TMask Mask("ab*cd~");
  EXPECT_TRUE(Mask.MatchFrom("xxcd~", 2));
  EXPECT_FALSE(Mask.MatchFrom("xxcd~", 3));
  EXPECT_FALSE(Mask.MatchFrom("xxcd~", 1));
  EXPECT_FALSE(Mask.MatchFrom("xxcd~", 0));
  EXPECT_FALSE(Mask.MatchFrom("xxcd~", 99));
  EXPECT_FALSE(TMask("ab!x~").MatchFrom("ab", 1));  // the excluded character finds no current character
  EXPECT_TRUE(TMask("ab??").MatchFrom("ab", 1));    // "?" on an empty text leaves it empty
}

TEST(MaskMatchTest, AnyRunsOverLongNamesCostOnePassPerSlot) {
  // Each of these took minutes to hours while every any run tried every later position: with one pass
  // per slot they are answered at once (a matcher that is quadratic again runs into the test timeout).
  const std::string Name = std::string(1 << 18, 'a') + "~";
  EXPECT_FALSE(TMask("*a*a*a*a*a*a*b~").MatchFrom(Name, 1));
  EXPECT_FALSE(TMask("*(a)*(a)*(a)*(a)*(a)*(a)*b~").MatchFrom(Name, 1));
  EXPECT_FALSE(TMask("*a*b*~").MatchFrom(Name, 1));
  EXPECT_TRUE(TMask("*a*a*a*a*a*a*~").MatchFrom(Name, 1));
  EXPECT_FALSE(TMask("*aaaaaaaaaaaaaaaaaaaab*~").MatchFrom(Name, 1));  // one long literal run, sought once
  std::string Hit = Name;
  Hit[Hit.size() - 2] = 'b';
  EXPECT_TRUE(TMask("*a*a*a*a*a*a*b~").MatchFrom(Hit, 1));
  EXPECT_TRUE(TMask("*aaaaaaaaaaaaaaaaaaaab*~").MatchFrom(Hit, 1));
}

TEST(MaskMatchTest, SameAnswersAsPlainBacktracking) {
  std::mt19937 Random(20240607);
  // Stray bytes of a UTF-8 sequence too: literal runs may then end inside a character.
  const std::string Alphabet[] = {"a", "b", "c", ".", "~", "\xC3\xA9", "*", "?", "\xC3", "\xA9"};
  const std::string Pieces[] = {"a",
                                "b",
                                "c",
                                ".",
                                "*",
                                "*",
                                "?",
                                "!a",
                                "#.",
                                "[a-b]",
                                "[!b-c]",
                                "(ab)",
                                "(!a~)",
                                "\xC3\xA9",
                                "(\xC3\xA9"
                                "c)",
                                "~"};
  // Every fourth round: long literal runs, sought in names of up to 40 letters (few pieces, so that the
  // reference does not take forever).
  const std::string LongPieces[] = {"abaabaabaabaabaab", "aaaaaaaaaaaaaaaaab", "ab", "*", "*", "?"};
  int Matches = 0;
  for (int Round = 0; Round < 4000; ++Round) {
    const bool Long = Round % 4 == 0;
    std::string Text;
    const int PieceCount = 1 + static_cast<int>(Random() % (Long ? 4 : 7));
    for (int I = 0; I < PieceCount; ++I)
      Text += Long ? LongPieces[Random() % std::size(LongPieces)] : Pieces[Random() % std::size(Pieces)];
    Text += MaskEndMark;
    std::unique_ptr<TMask> Mask;
    try {
      Mask = std::make_unique<TMask>(Text);
    } catch (const EMaskError&) {
      continue;
    }
    for (int N = 0; N < 8; ++N) {
      std::string Name;
      const int Length = static_cast<int>(Random() % (Long ? 40 : 10));
      for (int I = 0; I < Length; ++I)
        Name += Long ? std::string(1, "ab"[Random() % 3 / 2]) : Alphabet[Random() % std::size(Alphabet)];
      Name += MaskEndMark;
      TReferenceMatcher Reference(*Mask);
      const bool Expected = Reference.MatchFrom(Name, 1);
      Matches += Expected;
      ASSERT_EQ(Mask->MatchFrom(Name, 1), Expected) << "mask " << Text << " name " << Name;
    }
  }
  EXPECT_GT(Matches, 1000);  // the random cases exercise both answers
}
