; wrenfold_split: a still status bar over two bands that scroll in opposite directions, split by
; the MMC3 scanline IRQ. The first IRQ sets the upper band's scroll and arms the second, which
; sets the lower band's scroll and switches the background's first 2 KB of CHR from the sky set
; to the sea set, so the same tile numbers draw waves below and clouds above. Each split falls
; in a blank tile row, so the moment within the line at which the writes land cannot show.
.include "nes.inc"
.include "runtime.inc"
.include "sound.inc"
.include "split.inc"

; Background from $0000 and sprites from $1000: PPU A12 rises once a line, clocking the counter.
PPU_CTRL_SPLIT = CTRL_NMI | CTRL_SPR_1000

; The counter reloads with FIRST_SPLIT on the pre-render line and reaches zero on line
; FIRST_SPLIT - 1; the handler's scroll shows from line FIRST_SPLIT + 1 (in blank row 3). Its
; reload with SECOND_SPLIT on line FIRST_SPLIT puts the second change at line
; FIRST_SPLIT + SECOND_SPLIT + 2 (in blank row 14).
FIRST_SPLIT  = 27
SECOND_SPLIT = 87

WREN_Y      = 199       ; sprite Y byte: the wren stands on the sea's row 26
WREN_TILES  = 4         ; tiles per picture (8x8 sprites, left column first)

.segment "ZEROPAGE"
irq_stage:      .res 1  ; 0: the next IRQ is the upper split, 1: the lower one
scroll_top:     .res 1
scroll_bottom:  .res 1
wren_x:         .res 1
frame:          .res 1

.segment "CODE"

.proc main
    lda #1
    sta MMC3_MIRROR                 ; horizontal: each band wraps round in one name table
    ldx #0
@chr_bank:
    stx MMC3_SELECT
    lda initial_chr_banks, x
    sta MMC3_DATA
    inx
    cpx #6
    bne @chr_bank

    ldx #0                          ; the screen's text and layout lie in PRG bank 0
    jsr map_data_bank
    jsr draw_screen
    ldx #1                          ; its colours in PRG bank 1
    jsr map_data_bank
    lda #<split_palette
    sta ptr0
    lda #>split_palette
    sta ptr0 + 1
    jsr load_palette

    ldx #<song_split
    ldy #>song_split
    jsr music_play
    lda #<split_irq
    sta irq_vector
    lda #>split_irq
    sta irq_vector + 1
    lda #40
    sta wren_x
    jsr place_wren

    lda #PPU_CTRL_SPLIT
    sta ppu_ctrl
    sta PPUCTRL
    lda #MASK_ALL
    jsr rendering_on
    lda #SPLIT_CART_ID
    jsr write_result_header
    lda #PHASE_TITLE
    jsr set_result_phase
    jsr arm_splits
    cli

@loop:
    jsr wait_frame
    jsr arm_splits                  ; first, while vblank lasts
    inc frame
    inc scroll_top
    dec scroll_bottom
    dec scroll_bottom
    inc wren_x
    jsr place_wren
    jmp @loop
.endproc

; Run in vblank, before the pre-render line: the sky set and this frame's sparkle frame for
; the upper part, and the counter armed for the first split. All MMC3 writes of the main
; program happen here, so an IRQ never comes between a bank select and its data.
.proc arm_splits
    lda #0
    sta irq_stage
    sta MMC3_SELECT
    lda #CHR_SKY
    sta MMC3_DATA
    lda #1
    sta MMC3_SELECT
    lda frame
    and #8
    beq @first_frame
    lda #CHR_SPARKLE_B
    bne @set_sparkle
@first_frame:
    lda #CHR_SPARKLE_A
@set_sparkle:
    sta MMC3_DATA
    lda #FIRST_SPLIT
    sta MMC3_LATCH
    sta MMC3_RELOAD
    sta MMC3_IRQ_ON
    rts
.endproc

.proc split_irq
    pha
    sta MMC3_IRQ_OFF                ; acknowledge; re-enabled below for the second split
    lda irq_stage
    bne @lower
    bit PPUSTATUS                   ; the next $2005 write is the horizontal one
    lda scroll_top
    sta PPUSCROLL
    lda #SECOND_SPLIT
    sta MMC3_LATCH
    sta MMC3_RELOAD
    sta MMC3_IRQ_ON
    inc irq_stage
    pla
    rti
@lower:
    bit PPUSTATUS
    lda scroll_bottom
    sta PPUSCROLL
    lda #0
    sta MMC3_SELECT
    lda #CHR_SEA
    sta MMC3_DATA
    pla
    rti
.endproc

; PRG bank X into $8000 (R6).
.proc map_data_bank
    lda #6
    sta MMC3_SELECT
    stx MMC3_DATA
    rts
.endproc

; The wren's four sprites at wren_x, walking: the picture changes every 8 frames.
.proc place_wren
    lda frame
    and #8
    lsr a                           ; 0 or 4: stand or walk picture
    sta temp0
    ldx #0
    ldy #0
@sprite:
    lda wren_top, y
    sta oam_buffer, x               ; Y
    tya
    clc
    adc temp0
    sta oam_buffer + 1, x           ; tile
    lda #0
    sta oam_buffer + 2, x           ; palette 0, in front
    lda wren_left, y
    clc
    adc wren_x
    sta oam_buffer + 3, x           ; X
    inx
    inx
    inx
    inx
    iny
    cpy #WREN_TILES
    bne @sprite
    rts
.endproc

; Draws both name tables' picture with rendering off; the data lies in PRG bank 0 at $8000.
.proc draw_screen
    lda #T_BLANK
    jsr clear_nametables
    lda #0                          ; status bar: rows 0-2 in solid colour 1
    ldx #3
    ldy #solid_row - row_patterns
    jsr fill_rows
    lda #4                          ; the sky: rows 4-13
    ldx #10
    ldy #sky_row - row_patterns
    jsr fill_rows
    lda #15                         ; the sea: rows 15-28, waves and sparkles in turn
    ldx #14
    ldy #sea_rows - row_patterns
    jsr fill_rows
    lda #<screen_text
    sta ptr0
    lda #>screen_text
    sta ptr0 + 1
    jsr draw_text_list
    lda #<band_palettes
    sta ptr0
    lda #>band_palettes
    sta ptr0 + 1
    ldx #>ATTRIBUTES_0
    jmp set_attribute_bands
.endproc

; Fills X rows from row A of name table 0, 32 tiles each, from the 16-byte pattern at
; row_patterns + Y (a row uses bytes 0-7 or 8-15 by the parity of its number, repeated 4 times).
.proc fill_rows
    sty temp2
    sta temp0                       ; row
    stx temp1                       ; rows left
@row:
    lda temp0                       ; address $2000 + row * 32
    lsr a
    lsr a
    lsr a
    ora #>NAMETABLE_0
    bit PPUSTATUS
    sta PPUADDR
    lda temp0
    asl a
    asl a
    asl a
    asl a
    asl a
    sta PPUADDR
    lda temp0
    and #1
    asl a
    asl a
    asl a
    clc
    adc temp2
    sta temp3                       ; pattern offset of this row
    ldx #32
    ldy #0
@tile:
    tya
    and #7
    clc
    adc temp3
    sty ptr1
    tay
    lda row_patterns, y
    ldy ptr1
    sta PPUDATA
    iny
    dex
    bne @tile
    inc temp0
    dec temp1
    bne @row
    rts
.endproc

.segment "RODATA"
; R0-R5: the sky set at $0000, the first sparkle frame at $0800, the sprites at $1000-$1FFF.
initial_chr_banks:
    .byte CHR_SKY, CHR_SPARKLE_A, CHR_SPRITES, CHR_SPRITES + 1, CHR_SPRITES + 2, CHR_SPRITES + 3

; The wren's four tiles: left column top and bottom, then the right column.
wren_top:
    .byte WREN_Y, WREN_Y + 8, WREN_Y, WREN_Y + 8
wren_left:
    .byte 0, 0, 8, 8

.segment "BANK0"
row_patterns:
solid_row:
    .byte T_SOLID1, T_SOLID1, T_SOLID1, T_SOLID1, T_SOLID1, T_SOLID1, T_SOLID1, T_SOLID1
    .byte T_SOLID1, T_SOLID1, T_SOLID1, T_SOLID1, T_SOLID1, T_SOLID1, T_SOLID1, T_SOLID1
sky_row:
    .byte T_PATTERN, T_PATTERN + 1, T_PATTERN + 2, T_PATTERN, T_PATTERN + 3, T_PATTERN
    .byte T_PATTERN, T_PATTERN + 3
    .byte T_PATTERN + 3, T_PATTERN, T_PATTERN, T_PATTERN + 1, T_PATTERN + 2, T_PATTERN
    .byte T_PATTERN + 3, T_PATTERN
sea_rows:
    .byte T_PATTERN + 1, T_PATTERN + 2, T_PATTERN, T_PATTERN + 3, T_PATTERN + 1
    .byte T_PATTERN + 2, T_PATTERN + 3, T_PATTERN
    .byte T_SPARKLE, T_PATTERN, T_SPARKLE + 1, T_PATTERN + 3, T_SPARKLE + 2, T_PATTERN
    .byte T_SPARKLE + 3, T_PATTERN + 3
.assert sea_rows - row_patterns + 16 <= 256, error, "row patterns must fit one page"

screen_text:
    TEXT_AT 1, 6, "WRENFOLD  MMC3 SPLIT"
    TEXT_AT 8, 9, "THE UPPER BAND"
    TEXT_AT 21, 9, "THE LOWER BAND"
    .byte 0

; Palette of each band of two rows: the status bar, the sky, the sea.
band_palettes:
    .byte 0, 0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2

.segment "BANK1"
split_palette:
    .byte $0F, $02, $12, $30        ; status bar: navy, blue, white
    .byte $0F, $21, $31, $30        ; sky: blue, pale blue, white
    .byte $0F, $01, $11, $2C        ; sea: deep blue, blue, foam
    .byte $0F, $0F, $0F, $0F
    .byte $0F, $0F, $17, $37        ; wren: black, brown, cream
    .byte $0F, $0F, $0F, $0F
    .byte $0F, $0F, $0F, $0F
    .byte $0F, $0F, $0F, $0F
