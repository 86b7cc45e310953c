// The listing printer's fixed texts (UTF-8), in the pieces its messages are joined from.
#pragma once

#include <string_view>

namespace zelkova::listing::texts {

inline constexpr std::string_view kWindowCaption = "印刷の設定";

// The fit check.
inline constexpr std::string_view kTooManyCharacters =
    "文字数が多すぎます。\r\n\r\n文字数を減らすか、フォントで文字ｻｲｽﾞを下げるか\r\nあるいは用紙ｻｲｽﾞを大きいｻｲ"
    "ｽﾞに"
    "変更して下さい\r\n\r\n（現在の文字ｻｲｽﾞは ";
inline constexpr std::string_view kTooManyLines = "行数が多すぎます。\r\n\r\n行数を減らすか、フォントで文字ｻｲ"
                                                  "ｽﾞを下げるか\r\nあるいは用紙ｻｲｽﾞを大きいｻｲｽﾞに変更"
                                                  "して下さい\r\n\r\n（現在の文字ｻｲｽﾞは ";
inline constexpr std::string_view kPoints = "ﾎﾟｲﾝﾄです。";
inline constexpr std::string_view kCurrentHalfWidth = " 現在の半角文字幅は ";
inline constexpr std::string_view kCurrentPaperWidth = " 現在の用紙幅は ";
inline constexpr std::string_view kCurrentCharacters = " 現在の文字数 ";
inline constexpr std::string_view kCurrentCharHeight = " 現在の文字高は ";
inline constexpr std::string_view kCurrentPaperHeight = " 現在の用紙高は ";
inline constexpr std::string_view kHeightLeft = " 但し余白等除くと残る用紙高は ";
inline constexpr std::string_view kPixelsSoThat = "ﾋﾟｸｾﾙのため、";
inline constexpr std::string_view kCurrentLines = " 現在の行数 ";
inline constexpr std::string_view kPixels = "ﾋﾟｸｾﾙです。";
inline constexpr std::string_view kOverlap = " では文字が重なります。)";

// Settings that no pass can work with.
inline constexpr std::string_view kCharactersAtLeastOne =
    "文字数は1以上の整数にして下さい。\r\n\r\n（現在の文字数 ";
inline constexpr std::string_view kLinesAtLeastOne = "行数は1以上の整数にして下さい。\r\n\r\n（現在の行数 ";
inline constexpr std::string_view kCannotPrint = " では印刷できません。)";
inline constexpr std::string_view kFirstPageAtLeastOne =
    "開始ﾍﾟｰｼﾞは1以上にして下さい。\r\n\r\n（現在の開始ﾍﾟｰｼﾞ ";
inline constexpr std::string_view kNothingInRange = "印刷するﾍﾟｰｼﾞがありません。\r\n\r\nこのファイルは全部で";
inline constexpr std::string_view kRangeFirst = "ページです。\r\n開始ﾍﾟｰｼﾞ ";
inline constexpr std::string_view kRangeAfterLast = " が最終ﾍﾟｰｼﾞ ";
inline constexpr std::string_view kRangeEnd = " より後ろです。";
inline constexpr std::string_view kNoDefaultPrinter = "デフォルト プリンタが存在しません";
inline constexpr std::string_view kSameAsListing =
    "印刷先のファイルが印刷するファイルと同じです。\r\n\r\n別の名前を指定して下さい。\r\n（";
inline constexpr std::string_view kSameAsListingEnd = "）";

// The window.
inline constexpr std::string_view kTitleLabel = "ページ上に付けるタイトル（編集可能）";
inline constexpr std::string_view kCharactersLabel = "文字数";
inline constexpr std::string_view kLinesLabel = "行数";
inline constexpr std::string_view kPageInitialValueLabel = "ﾍﾟｰｼﾞ初期値";
inline constexpr std::string_view kFirstPageLabel = "開始ﾍﾟｰｼﾞ";
inline constexpr std::string_view kLastPageLabel = "最終ﾍﾟｰｼﾞ";
inline constexpr std::string_view kNoNumbersHint = "(ﾍﾟｰｼﾞを付けたくないならﾍﾟｰｼﾞ初期値を-777とする。)";
inline constexpr std::string_view kInitialValueHint = "(ﾍﾟｰｼﾞ初期値は開始ﾍﾟｰｼ１に対する値で入力する。）";
inline constexpr std::string_view kPrintButton = "印刷実行";
inline constexpr std::string_view kBackButton = "戻る";
inline constexpr std::string_view kFontButton = "ﾌｫﾝﾄの変更";
inline constexpr std::string_view kPrinterButton = "ﾌﾟﾘﾝﾀｰの変更";

// The confirmation.
inline constexpr std::string_view kConfirmTotal = "このファイルは全部で";
inline constexpr std::string_view kConfirmPagesPrinted = "ページです。\r\n印刷されるのは\r\n";
inline constexpr std::string_view kConfirmFrom = "ﾍﾟｰｼﾞ～";
inline constexpr std::string_view kConfirmTo = "ﾍﾟｰｼﾞまでの\r\n\r\n     計 ";
inline constexpr std::string_view kConfirmEnd = " ﾍﾟｰｼﾞです。\r\n\r\n印刷しますか？";

// Progress and end of a print, in the title field's label.
inline constexpr std::string_view kPrintingSheet = "ページ目を印刷中";
inline constexpr std::string_view kPrintingFinished = "印刷処理終了";

// The page number of a sheet, around the number.
inline constexpr std::string_view kPageNumberOpen = "- ";
inline constexpr std::string_view kPageNumberClose = " -";
// The page initial value that switches page numbers off.
inline constexpr std::string_view kNoPageNumbers = "-777";

} // namespace zelkova::listing::texts
