; Bank 5: colour bars. Nine bars in three palettes cycle through the console's hues; A steps the
; brightness, B holds the cycle.
.include "nes.inc"
.include "runtime.inc"
.include "banks.inc"

BAR_COUNT   = 9
BAR_COL     = 6
BAR_TOP     = 6
BAR_ROWS    = 16
HUES        = 12
HUE_FRAMES  = 5

hue        = page_vars + 0
brightness = page_vars + 1
hold       = page_vars + 2
hue_timer  = page_vars + 3

.segment "BANK5"
    PAGE_HEADER 5, draw, tick, name

name:
    .byte "COLOUR BARS     "

.proc draw
    ldx #BAR_ROWS
    lda #<(NAMETABLE_0 + BAR_TOP * 32 + BAR_COL)
    sta temp0
    lda #>(NAMETABLE_0 + BAR_TOP * 32 + BAR_COL)
    sta temp1
@row:
    bit PPUSTATUS
    lda temp1
    sta PPUADDR
    lda temp0
    sta PPUADDR
    ldy #0
@bar:
    lda bar_tiles, y
    sta PPUDATA
    sta PPUDATA
    iny
    cpy #BAR_COUNT
    bne @bar
    lda temp0
    clc
    adc #32
    sta temp0
    bcc :+
    inc temp1
:   dex
    bne @row

    LOAD16 ptr0, texts
    jsr draw_text_list
    LOAD16 ptr0, bands
    jsr write_page_attributes
    ; Attribute rows 1-5: each pair of columns takes the palette of the bar it shows.
    ldx #1
@attribute_row:
    txa
    asl a
    asl a
    asl a
    clc
    adc #<ATTRIBUTES_0
    bit PPUSTATUS
    ldy #>ATTRIBUTES_0
    sty PPUADDR
    sta PPUADDR
    ldy #0
@attribute:
    lda bar_attributes, y
    sta PPUDATA
    iny
    cpy #8
    bne @attribute
    inx
    cpx #6
    bne @attribute_row

    LOAD16 ptr0, palette
    jsr load_page_palette
    lda #1
    sta brightness
    jmp set_bar_colours
.endproc

.proc tick
    lda pad_new
    and #BUTTON_A
    beq :+
    inc brightness
    lda brightness
    and #3
    sta brightness
    jsr set_bar_colours
:   lda pad_new
    and #BUTTON_B
    beq :+
    lda hold
    eor #1
    sta hold
:   lda hold
    bne @done
    inc hue_timer
    lda hue_timer
    cmp #HUE_FRAMES
    bcc @done
    lda #0
    sta hue_timer
    inc hue
    lda hue
    cmp #HUES
    bcc :+
    lda #0
    sta hue
:   jmp set_bar_colours
@done:
    rts
.endproc

; Bar k shows colour brightness * 16 + 1 + (hue + k) mod 12.
.proc set_bar_colours
    lda brightness
    asl a
    asl a
    asl a
    asl a
    sta temp0
    ldx #0
@bar:
    txa
    clc
    adc hue
    cmp #HUES
    bcc :+
    sbc #HUES
    cmp #HUES
    bcc :+
    sbc #HUES
:   clc
    adc #1
    ora temp0
    ldy bar_palette_entry, x
    sta palette_buffer, y
    inx
    cpx #BAR_COUNT
    bne @bar
    lda #1
    sta palette_dirty
    rts
.endproc

bar_tiles:
    .byte T_SOLID1, T_SOLID2, T_SOLID3, T_SOLID1, T_SOLID2, T_SOLID3, T_SOLID1, T_SOLID2, T_SOLID3
bar_palette_entry:
    .byte 1, 2, 3, 5, 6, 7, 9, 10, 11
; Columns 6-7: bar 0; 8-11: bars 1-2 (palette 0); 12-15: bars 3-4 (palette 1); 16-19: bar 5
; (palette 1) and bar 6 (palette 2); 20-23: bars 7-8 (palette 2).
bar_attributes:
    .byte $00, $00, $00, $55, $99, $AA, $00, $00

texts:
    TEXT_AT 24, 6, "A BRIGHTER   B HOLD"
    .byte 0

bands:
    .byte 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3

palette:
    .byte $0F, $00, $00, $00
    .byte $0F, $00, $00, $00
    .byte $0F, $00, $00, $00
    .byte $0F, $01, $11, $30
