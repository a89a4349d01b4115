; CHR ROM of the expansion-sound cartridges: a blank tile, three solid tiles and the font.
.linecont +
.include "font.inc"

T_SPACE = $20

.segment "CHARS"
pattern_table:
    TILE "........", "........", "........", "........", "........", "........", "........", "........"
    TILE "11111111", "11111111", "11111111", "11111111", "11111111", "11111111", "11111111", "11111111"
    TILE "22222222", "22222222", "22222222", "22222222", "22222222", "22222222", "22222222", "22222222"
    TILE "33333333", "33333333", "33333333", "33333333", "33333333", "33333333", "33333333", "33333333"
    .res T_SPACE * 16 - (* - pattern_table)
    FONT_TILES
