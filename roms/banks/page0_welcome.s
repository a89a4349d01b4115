; Bank 0: the welcome page. Its tiles are the big letters of "WRENFOLD BANKS", drawn from the
; font at twice its size; A and B recolour the two words, and the name shimmers.
.linecont +
.include "nes.inc"
.include "runtime.inc"
.include "font.inc"
.include "banks.inc"

LOGO_ROW  = 6
LOGO_COL  = 8
BANKS_ROW = 10
BANKS_COL = 11
SCHEMES   = 4

; Big letter n of this bank's set starts at tile PAGE_TILES + 4n.
BIG_W = PAGE_TILES + 0 * 4
BIG_R = PAGE_TILES + 1 * 4
BIG_E = PAGE_TILES + 2 * 4
BIG_N = PAGE_TILES + 3 * 4
BIG_F = PAGE_TILES + 4 * 4
BIG_O = PAGE_TILES + 5 * 4
BIG_L = PAGE_TILES + 6 * 4
BIG_D = PAGE_TILES + 7 * 4
BIG_B = PAGE_TILES + 8 * 4
BIG_A = PAGE_TILES + 9 * 4
BIG_K = PAGE_TILES + 10 * 4
BIG_S = PAGE_TILES + 11 * 4

logo_scheme  = page_vars + 0
banks_scheme = page_vars + 1

.segment "BANK0"
    PAGE_HEADER 0, draw, tick, name

name:
    .byte "WELCOME         "

.proc draw
    PPU_ADDRESS PAGE_TILE_ADDRESS
    LOAD16 ptr0, big_letters
    LOAD16 temp0, big_letters_end - big_letters
    jsr copy_to_vram

    LOAD16 ptr0, logo_word
    jsr draw_big_word
    LOAD16 ptr0, banks_word
    jsr draw_big_word
    LOAD16 ptr0, texts
    jsr draw_text_list
    LOAD16 ptr0, bands
    jsr write_page_attributes
    LOAD16 ptr0, palette
    jmp load_page_palette
.endproc

; Draws a big word from ptr0: address of its top row, letter count, first tiles of the letters.
.proc draw_big_word
    ldy #0
    lda (ptr0), y
    sta temp0                       ; address high
    iny
    lda (ptr0), y
    sta temp1                       ; address low
    iny
    lda (ptr0), y
    sta temp2                       ; letters
    lda #0                          ; upper halves, then lower halves one row further down
    sta temp3
@half:
    bit PPUSTATUS
    lda temp0
    sta PPUADDR
    lda temp1
    sta PPUADDR
    ldy #3
    ldx temp2
@letter:
    lda (ptr0), y
    ora temp3
    sta PPUDATA
    ora #1
    sta PPUDATA
    iny
    dex
    bne @letter
    lda temp3
    bne @done
    lda #2
    sta temp3
    lda temp1
    clc
    adc #32
    sta temp1
    bcc @half
    inc temp0
    bne @half
@done:
    rts
.endproc

.proc tick
    lda pad_new
    and #BUTTON_A
    beq @no_a
    inc logo_scheme
    lda logo_scheme
    cmp #SCHEMES
    bcc @no_a
    lda #0
    sta logo_scheme
@no_a:
    lda pad_new
    and #BUTTON_B
    beq @no_b
    inc banks_scheme
    lda banks_scheme
    cmp #SCHEMES
    bcc @no_b
    lda #0
    sta banks_scheme
@no_b:
    ; Recolour every frame: the upper half of the name brightens for 8 frames out of 64.
    ldx logo_scheme
    lda scheme_lower, x
    sta palette_buffer + 2
    lda page_frame_counter
    and #63
    cmp #56
    lda scheme_upper, x
    bcc :+
    lda #$30
:   sta palette_buffer + 3
    lda banks_scheme                ; starts one scheme after the name's
    clc
    adc #1
    and #SCHEMES - 1
    tax
    lda scheme_lower, x
    sta palette_buffer + 10
    lda scheme_upper, x
    sta palette_buffer + 11
    lda #1
    sta palette_dirty
    rts
.endproc

logo_word:
    .byte >(NAMETABLE_0 + LOGO_ROW * 32 + LOGO_COL), <(NAMETABLE_0 + LOGO_ROW * 32 + LOGO_COL), 8
    .byte BIG_W, BIG_R, BIG_E, BIG_N, BIG_F, BIG_O, BIG_L, BIG_D
banks_word:
    .byte >(NAMETABLE_0 + BANKS_ROW * 32 + BANKS_COL), <(NAMETABLE_0 + BANKS_ROW * 32 + BANKS_COL), 5
    .byte BIG_B, BIG_A, BIG_N, BIG_K, BIG_S

texts:
    TEXT_AT 14, 5, "A BANK SWITCHING DEMO"
    TEXT_AT 16, 3, "SEVEN PAGES LIVE IN SEVEN"
    TEXT_AT 17, 4, "16 KB BANKS OF PRG ROM."
    TEXT_AT 19, 4, "LEFT RIGHT  CHANGE BANK"
    TEXT_AT 20, 4, "A B         PAGE EFFECTS"
    TEXT_AT 21, 4, "START       MUSIC"
    TEXT_AT 22, 4, "SELECT      THIS PAGE"
    TEXT_AT 24, 8, "MADE FOR WRENFOLD"
    .byte 0

; Palettes of the content bands (rows 4-5, 6-7, ... 24-25).
bands:
    .byte 1, 0, 1, 2, 1, 1, 1, 1, 1, 1, 1

BACKDROP = $0C
palette:
    .byte BACKDROP, $0F, $27, $38   ; the name: shadow, lower half, upper half
    .byte BACKDROP, BACKDROP, $0F, $30  ; text
    .byte BACKDROP, $0F, $11, $31   ; "BANKS"
    .byte BACKDROP, $01, $11, $30   ; header and footer

scheme_lower:
    .byte $27, $11, $19, $15
scheme_upper:
    .byte $38, $31, $39, $35

big_letters:
    BIG_GLYPH 'W'
    BIG_GLYPH 'R'
    BIG_GLYPH 'E'
    BIG_GLYPH 'N'
    BIG_GLYPH 'F'
    BIG_GLYPH 'O'
    BIG_GLYPH 'L'
    BIG_GLYPH 'D'
    BIG_GLYPH 'B'
    BIG_GLYPH 'A'
    BIG_GLYPH 'K'
    BIG_GLYPH 'S'
big_letters_end:
