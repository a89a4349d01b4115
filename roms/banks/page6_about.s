; Bank 6: a page of text about the cartridge itself. A highlights the lines in turn.
.include "nes.inc"
.include "runtime.inc"
.include "banks.inc"

highlight = page_vars + 0

.segment "BANK6"
    PAGE_HEADER 6, draw, tick, name

name:
    .byte "ABOUT THIS CART "

.proc draw
    LOAD16 ptr0, texts
    jsr draw_text_list
    LOAD16 ptr0, bands
    jsr write_page_attributes
    LOAD16 ptr0, palette
    jmp load_page_palette
.endproc

; A switches the colour of the letters between white and the highlight colours.
.proc tick
    lda pad_new
    and #BUTTON_A
    beq @done
    inc highlight
    lda highlight
    and #3
    sta highlight
    tax
    lda letter_colours, x
    sta palette_buffer + 3
    lda #1
    sta palette_dirty
@done:
    rts
.endproc

texts:
    TEXT_AT 5, 4, "MAPPER 2, UNROM BOARD"
    TEXT_AT 7, 4, "128 KB PRG ROM: 8 BANKS"
    TEXT_AT 8, 4, "BANKS 0-6 AT $8000"
    TEXT_AT 9, 4, "BANK 7 FIXED AT $C000"
    TEXT_AT 10, 4, "8 KB CHR RAM"
    TEXT_AT 12, 4, "A BANK IS CHOSEN BY"
    TEXT_AT 13, 4, "WRITING ITS NUMBER TO A"
    TEXT_AT 14, 4, "ROM BYTE THAT HOLDS THE"
    TEXT_AT 15, 4, "SAME NUMBER."
    TEXT_AT 17, 4, "EACH BANK LOADS ITS OWN"
    TEXT_AT 18, 4, "TILES AND PICTURE INTO"
    TEXT_AT 19, 4, "CHR RAM AND NAME TABLES."
    TEXT_AT 22, 4, "ORIGINAL WORK OF THE"
    TEXT_AT 23, 4, "WRENFOLD AUTHORS"
    .byte 0

bands:
    .byte 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0

BACKDROP = $02
palette:
    .byte BACKDROP, BACKDROP, $0F, $30
    .byte BACKDROP, BACKDROP, $0F, $30
    .byte BACKDROP, BACKDROP, $0F, $30
    .byte BACKDROP, $01, $11, $30

letter_colours:
    .byte $30, $38, $3A, $3C
