#include "core/StoredValues.h"

#include <gtest/gtest.h>
#include <set>

TEST(StoredValues, TableHoldsTheTwentyFiveValuesWithTheirTypesAndDefaults) {
    ASSERT_EQ(kStoredValues.size(), 25u);
    EXPECT_EQ(kStoredValues.front().Name, L"isBeforeHide");
    EXPECT_EQ(kStoredValues.back().Name, L"OutputFolder");
    EXPECT_EQ(kStoredValues[5].Name, L"JPEGQulity"); // the key is spelt so on disk

    EXPECT_EQ(DefaultValue(kStoredValues[0]), TStoredValue(true));
    EXPECT_EQ(DefaultValue(kStoredValues[3]), TStoredValue(std::int32_t{500}));       // CaptureDelay
    EXPECT_EQ(DefaultValue(kStoredValues[10]), TStoredValue(std::int32_t{16777215})); // NewCaptureColor
    EXPECT_EQ(DefaultValue(kStoredValues[21]), TStoredValue(std::int32_t{240}));      // CaptureRectHeight
    EXPECT_EQ(DefaultValue(kStoredValues[22]), TStoredValue(std::wstring()));         // Language

    std::set<std::wstring> names;
    for (const auto& def : kStoredValues)
        names.emplace(def.Name);
    EXPECT_EQ(names.size(), kStoredValues.size()) << "every name is stored once";
}

TEST(StoredValues, StoredPropertiesLieUnderTheirEntryWithAnUnderscore) {
    EXPECT_EQ(StoredPropKey(L"acCaptureControl.ShortCut"), L"acCaptureControl_ShortCut");
    EXPECT_EQ(kStoredProps[5].Entry, L"acCaptureContinuity.ShortCut");
    EXPECT_EQ(kStoredProps[5].Designed, 0x6000 + 0x76); // Ctrl+Shift+F7
    EXPECT_EQ(kStoredProps[8].Type, TStoredType::Boolean);
}

TEST(StoredValues, OneSaveWritesVersionPlacementPropertiesThenValues) {
    const auto keys = SaveOrderKeys(1280, 1024);
    ASSERT_EQ(keys.size(), 7u + 9u + 25u);
    const std::vector<std::wstring> placement{
        L"FormVersion",        L"Flags",  L"PixelsPerInch", L"MinMaxPos(1280x1024)", L"MinMaxPos",
        L"NormPos(1280x1024)", L"NormPos"};
    EXPECT_EQ(std::vector<std::wstring>(keys.begin(), keys.begin() + 7), placement);
    EXPECT_EQ(keys[7], L"acCaptureControl_ShortCut");
    EXPECT_EQ(keys[15], L"acCaptureAutoScroll_Checked");
    EXPECT_EQ(keys[16], L"isBeforeHide");
    EXPECT_EQ(keys.back(), L"OutputFolder");
}

TEST(StoredValues, BooleansAreWrittenTrueFalseAndReadFromEitherWordList) {
    EXPECT_EQ(BoolToStoredText(true), L"TRUE");
    EXPECT_EQ(BoolToStoredText(false), L"FALSE");
    for (auto word : {L"TRUE", L"true", L"Yes", L"y", L" Y "})
        EXPECT_EQ(StoredTextToBool(word), true) << word;
    for (auto word : {L"FALSE", L"False", L"no", L"N"})
        EXPECT_EQ(StoredTextToBool(word), false) << word;
    for (auto word : {L"", L"1", L"0", L"on", L"TRUEX", L"yess"})
        EXPECT_FALSE(StoredTextToBool(word).has_value()) << word;
}

TEST(StoredValues, IntegersAreDecimalWithinThirtyTwoBits) {
    EXPECT_EQ(StoredTextToInteger(L"500"), 500);
    EXPECT_EQ(StoredTextToInteger(L" -12 "), -12);
    EXPECT_EQ(StoredTextToInteger(L"+7"), 7);
    EXPECT_EQ(StoredTextToInteger(L"2147483647"), 2147483647);
    EXPECT_EQ(StoredTextToInteger(L"-2147483648"), -2147483647 - 1);
    for (auto text :
         {L"", L"-", L"12a", L"1 2", L"0x10", L"2147483648", L"-2147483649", L"99999999999999999999999"})
        EXPECT_FALSE(StoredTextToInteger(text).has_value()) << text;
    EXPECT_EQ(IntegerToStoredText(-5), L"-5");
}

TEST(StoredValues, PlacementTextsRoundTripAndTakeFallbacksForBadNumbers) {
    EXPECT_EQ(FormatPlacementText({-1, -1, -8, -30}), L"-1,-1,-8,-30");
    EXPECT_EQ(ScreenSizeSuffix(1024, 768), L"(1024x768)");

    const TPlacementNumbers zero{0, 0, 0, 0};
    const TPlacementNumbers current{10, 20, 110, 220};
    EXPECT_EQ(ParsePlacementText(L"5,6,7,8", current), (TPlacementNumbers{5, 6, 7, 8}));
    EXPECT_EQ(ParsePlacementText(L"5,6", zero), (TPlacementNumbers{5, 6, 0, 0}));
    EXPECT_EQ(ParsePlacementText(L"5,x,,8", current), (TPlacementNumbers{5, 20, 110, 8}));
    EXPECT_EQ(ParsePlacementText(L"", current), current);
    EXPECT_EQ(ParsePlacementText(L"1,2,3,4,5,6", zero), (TPlacementNumbers{1, 2, 3, 4}));
}

TEST(StoredValues, NamesCompareWithoutRegardToCase) {
    EXPECT_TRUE(SameSettingName(L"isSound", L"ISSOUND"));
    EXPECT_FALSE(SameSettingName(L"isSound", L"isSounds"));
}

TEST(StoredValues, ValuesAreBroughtIntoRangeWhereUsed) {
    EXPECT_EQ(ClampDelay(-1), 0);
    EXPECT_EQ(ClampDelay(500), 500);
    EXPECT_EQ(ClampDelay(70000), 65535);
    EXPECT_EQ(SaveImageTypeOrDefault(3), 3);
    EXPECT_EQ(SaveImageTypeOrDefault(0), 0);
    EXPECT_EQ(SaveImageTypeOrDefault(4), 2);
    EXPECT_EQ(SaveImageTypeOrDefault(-1), 2);
    EXPECT_EQ(OutputTypeOrDefault(2), 2);
    EXPECT_EQ(OutputTypeOrDefault(5), 0);
}
