/*
 * conversion_steps.h: Hollerpad's conversion as data, the one table of its 110 steps.
 *
 * Each row is STEP(number, switch, search, replacement), a byte-exact replace-all of UTF-8
 * text, or PREPEND(number, switch, text), which puts the text in front of the whole text.
 * Switch 0 means "always"; switches 1 to 9 are the settings window's check boxes. The steps
 * run strictly in this order, each on the result of the one before: later steps repair what
 * earlier ones produce, so the order and the repeated rows are part of the behaviour.
 *
 * Rows 1-43 normalise marks an earlier run added, collapse runs of ! and ? and of their
 * full-width forms, expand them to " !! " and " !? ", and shorten runs of ～ and ー. Rows 44-62
 * are the switch-dependent rewrites; 63-96 merge the doubled marks those produce; 97-98 turn
 * the Japanese comma and full stop into ideographic spaces; 99-110 strip blanks before line
 * ends (lines end in a lone carriage return).
 *
 * Look-alikes that must never be confused: ー U+30FC (prolonged sound mark), ─ U+2500 (box
 * drawing), ― U+2015 (horizontal bar), ～ U+FF5E (full-width tilde), ！ U+FF01, ？ U+FF1F,
 * ッ U+30C3 (katakana small tsu), っ U+3063 (hiragana small tsu). \u3000 is the ideographic
 * space.
 *
 * Used by the application image (app code) and by hollerpad-convert alike:
 *     #define STEP(n, sw, find, repl) ...
 *     #define PREPEND(n, sw, text) ...
 *     HOLLERPAD_CONVERSION_STEPS(STEP, PREPEND)
 */
#ifndef HOLLERPAD_APP_CONVERSION_STEPS_H
#define HOLLERPAD_APP_CONVERSION_STEPS_H

#define HOLLERPAD_STEP_COUNT 110
#define HOLLERPAD_SWITCH_COUNT 9

/* clang-format off */
#define HOLLERPAD_CONVERSION_STEPS(STEP, PREPEND) \
    STEP(  1, 0, " !?", "?") \
    STEP(  2, 0, " !!", "!") \
    STEP(  3, 0, "!?", "?") \
    STEP(  4, 0, "!!", "!") \
    STEP(  5, 0, "!!!!", "!") \
    STEP(  6, 0, "!!!", "!") \
    STEP(  7, 0, "!!", "!") \
    STEP(  8, 0, "!", "！") \
    STEP(  9, 0, "????", "?") \
    STEP( 10, 0, "???", "?") \
    STEP( 11, 0, "??", "?") \
    STEP( 12, 0, "?", "？") \
    STEP( 13, 0, "？？？？？", "？") \
    STEP( 14, 0, "？？？？", "？") \
    STEP( 15, 0, "？？？", "？") \
    STEP( 16, 0, "？？", "？") \
    STEP( 17, 0, "！！！！！", "！") \
    STEP( 18, 0, "！！！！", "！") \
    STEP( 19, 0, "！！！", "！") \
    STEP( 20, 0, "！！", "！") \
    STEP( 21, 0, "？！", "？") \
    STEP( 22, 0, "！？", "？") \
    STEP( 23, 0, "？！", "？") \
    STEP( 24, 0, "！？", "？") \
    STEP( 25, 0, "？？？？？", "？") \
    STEP( 26, 0, "？？？？", "？") \
    STEP( 27, 0, "？？？", "？") \
    STEP( 28, 0, "？？", "？") \
    STEP( 29, 0, "！", " !! ") \
    STEP( 30, 0, "？", " !? ") \
    STEP( 31, 0, "～～～～～～", "～～～") \
    STEP( 32, 0, "～～～～～", "～～～") \
    STEP( 33, 0, "～～～～", "～～～") \
    STEP( 34, 0, "～～～～", "～～～") \
    STEP( 35, 0, "～～～～", "～～～") \
    STEP( 36, 0, "ーーーーーー", "ーー") \
    STEP( 37, 0, "ーーーーー", "ーー") \
    STEP( 38, 0, "ーーーー", "ーー") \
    STEP( 39, 0, "ーーーー", "ーー") \
    STEP( 40, 0, "ーーー", "ーー") \
    STEP( 41, 0, "ーーー", "ーー") \
    STEP( 42, 0, "ーー", "──") \
    STEP( 43, 0, "ん", "ン") \
    STEP( 44, 1, "ーッ。", "──ッ ") \
    STEP( 45, 1, "ーーっ。", "──ッ ") \
    STEP( 46, 1, "ーーっ !! ", "──ッ !! ") \
    STEP( 47, 1, "ーっ。", "──ッ ") \
    STEP( 48, 1, "ーっ !! ", "──ッ !! ") \
    STEP( 49, 1, "っ。", "──ッ ") \
    STEP( 50, 1, "──っ", "──ッ") \
    STEP( 51, 2, "だろう。", "だろうが──ッ !! ") \
    STEP( 52, 2, "だろう !! 。", "だろうが──ッ !! ") \
    STEP( 53, 2, "だろう !! ", "だろうが──ッ !! ") \
    STEP( 54, 3, "。", "ッ ") \
    STEP( 55, 4, "ああ──", "ああ──ッ !! ") \
    STEP( 56, 5, "～～～", "～～～ッ !! ") \
    STEP( 57, 5, "わ──", "わ～～～ッ !! ") \
    STEP( 58, 6, "なの !? ", "なの──ッ !? ") \
    STEP( 59, 7, "びいーん", "ビィ～～～～～ン !!") \
    STEP( 60, 7, "びいーン", "ビィ～～～～～ン !!") \
    STEP( 61, 8, "あなた", "あンた") \
    PREPEND( 62, 9, "名無しンぼ＠お腹いっぱいッ\r") \
    STEP( 63, 0, "ッ !! っ !! ", "ッ !! ") \
    STEP( 64, 0, "ッ !! ッ !! ", "ッ !! ") \
    STEP( 65, 0, "ッ !? っ !! ", "ッ !? ") \
    STEP( 66, 0, "ッ !? ッ !! ", "ッ !? ") \
    STEP( 67, 0, "ッ !! っ !? ", "ッ !? ") \
    STEP( 68, 0, "ッ !! ッ !? ", "ッ !? ") \
    STEP( 69, 0, " !!  !? ッ ", " !? ") \
    STEP( 70, 0, " !?  !! ッ ", " !? ") \
    STEP( 71, 0, "ー―", "──") \
    STEP( 72, 0, "────ッ", "──ッ") \
    STEP( 73, 0, "ッ !! ッ ", "ッ !! ") \
    STEP( 74, 0, "ッ !? ッ ", "ッ !? ") \
    STEP( 75, 0, "っ──ッ ", "ッ ") \
    STEP( 76, 0, " !!  !? ", " !? ") \
    STEP( 77, 0, " !!  !! ", " !! ") \
    STEP( 78, 0, "ー\u3000 !! ", "ー !! ") \
    STEP( 79, 0, "ー\u3000 !? ", "ー !? ") \
    STEP( 80, 0, " !? ッ ", " !? ") \
    STEP( 81, 0, " !! !! ", " !! ") \
    STEP( 82, 0, " !! !? ", " !? ") \
    STEP( 83, 0, " !? !! ", " !? ") \
    STEP( 84, 0, " !! ッ ", " !! ") \
    STEP( 85, 0, "ッッ", "ッ ") \
    STEP( 86, 0, "っッ", "ッ ") \
    STEP( 87, 0, "～～～ッ !! ン", "～～～～～ン !! ") \
    STEP( 88, 0, "～～～ッ !! ン !! ", "～～～～～ン !! ") \
    STEP( 89, 0, "～～～ッ !! ン  !! ", "～～～～～ン !! ") \
    STEP( 90, 0, " !!   !! ", " !! ") \
    STEP( 91, 0, " !!  !! ", " !! ") \
    STEP( 92, 0, "ン !! ッ", "ン !! ") \
    STEP( 93, 0, "ッ !! ッ", "ッ !! ") \
    STEP( 94, 0, " !!  ", " !! ") \
    STEP( 95, 0, " !?  ", " !? ") \
    STEP( 96, 0, " !! !? ", " !? ") \
    STEP( 97, 0, "、", "\u3000") \
    STEP( 98, 0, "。", "\u3000") \
    STEP( 99, 0, "\u3000 \r", "\r") \
    STEP(100, 0, " \u3000\r", "\r") \
    STEP(101, 0, "    \r", "\r") \
    STEP(102, 0, "   \r", "\r") \
    STEP(103, 0, "  \r", "\r") \
    STEP(104, 0, " \r", "\r") \
    STEP(105, 0, "\u3000\u3000\u3000\u3000\r", "\r") \
    STEP(106, 0, "\u3000\u3000\u3000\r", "\r") \
    STEP(107, 0, "\u3000\u3000\r", "\r") \
    STEP(108, 0, "\u3000\r", "\r") \
    STEP(109, 0, "  \r", "\r") \
    STEP(110, 0, " \r", "\r")
/* clang-format on */

#endif /* HOLLERPAD_APP_CONVERSION_STEPS_H */
