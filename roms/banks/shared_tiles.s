; Tiles every page shares, kept in the fixed bank and copied into CHR RAM at start-up: the frame
; tiles, the font and the sprites.
.linecont +
.include "nes.inc"
.include "font.inc"
.include "wren_art.inc"
.include "banks.inc"


.segment "RODATA"

; Tiles $01-$04: three solid colours and the band that edges the header and footer.
frame_tiles:
    TILE "11111111", "11111111", "11111111", "11111111", "11111111", "11111111", "11111111", "11111111"
    TILE "22222222", "22222222", "22222222", "22222222", "22222222", "22222222", "22222222", "22222222"
    TILE "33333333", "33333333", "33333333", "33333333", "33333333", "33333333", "33333333", "33333333"
    TILE "11111111", "11111111", "22222222", "33333333", "22222222", "11111111", "11111111", "11111111"
frame_tiles_end:

font_tiles:
    FONT_TILES
font_tiles_end:

; Sprite table, 8x8 sprites.
sprite_tiles:
    ; Bank lights, off and on. Palette 0: 1 navy, 2 blue, 3 yellow.
    TILE "........", ".222222.", ".211112.", ".211112.", ".211112.", ".211112.", ".222222.", "........"
    TILE "........", ".222222.", ".233332.", ".233332.", ".233332.", ".233332.", ".222222.", "........"
    ; The wren (palette 1).
    WREN_STAND_ART META16
    WREN_WALK_ART META16
    WREN_JUMP_ART META16
    ; A sailing boat. Palette 2: 1 black, 2 red, 3 white.
    META16 "................", \
           ".......1........", \
           ".......13.......", \
           ".......133......", \
           ".......1333.....", \
           ".......13333....", \
           ".......133333...", \
           ".......1333333..", \
           ".......13333333.", \
           ".......1........", \
           "..1111111111111.", \
           "..1222222222221.", \
           "...12222222221..", \
           "....111111111...", \
           "................", \
           "................"
    ; A falling star. Palette 3: 1 orange, 2 yellow, 3 white.
    TILE "......33", \
         ".....332", \
         "....322.", \
         "...22...", \
         "..21....", \
         ".11.....", \
         "1.......", \
         "........"
sprite_tiles_end:
