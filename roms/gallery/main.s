; wrenfold_gallery, fixed bank: walks through seven exhibits, one per PRG bank, every 120
; frames. Each exhibit's bank holds its name, layout and colours and names the CHR banks of
; its art, which the program switches into the background's pattern table; every 16 frames the
; art flips to the set's second CHR bank, which animates it without touching the name table.
.include "nes.inc"
.include "runtime.inc"
.include "sound.inc"
.include "gallery.inc"

PPU_CTRL_GALLERY = CTRL_NMI | CTRL_SPR_1000
FRAMES_PER_EXHIBIT = 120
ANIMATION_FRAMES   = 16     ; frames between the flips of the art's CHR bank
WREN_Y     = 26 * 8 - 17    ; sprite Y byte: the wren stands on the caption's row
WREN_TILES = 4

.segment "ZEROPAGE"
exhibit:        .res 1      ; PRG bank of the exhibit on show
chr_base:       .res 1      ; CHR bank of its art's first frame
exhibit_frame:  .res 1      ; frames since the exhibit went up
wren_x:         .res 1

.segment "CODE"

.proc main
    lda #$80
    sta MMC1_CONTROL                ; empty the shift register: PRG mode 3 from here
    lda #MMC1_MODES
    ldx #>MMC1_CONTROL
    jsr mmc1_load
    lda #CHR_SPRITES
    ldx #>MMC1_CHR1
    jsr mmc1_load
    lda #PPU_CTRL_GALLERY
    sta ppu_ctrl
    sta PPUCTRL
    ldx #<song_gallery
    ldy #>song_gallery
    jsr music_play
    lda #0
    sta exhibit
    jsr show_exhibit
    lda #GALLERY_CART_ID
    jsr write_result_header
    lda #PHASE_TITLE
    jsr set_result_phase

@loop:
    jsr wait_frame
    inc exhibit_frame
    lda exhibit_frame
    cmp #FRAMES_PER_EXHIBIT
    bcc @animate
    ldx exhibit
    inx
    cpx #EXHIBIT_COUNT
    bcc @next
    ldx #0
@next:
    stx exhibit
    jsr show_exhibit
    lda #PHASE_PLAY
    jsr set_result_phase
    jmp @loop

@animate:
    and #ANIMATION_FRAMES - 1
    bne @walk
    lda exhibit_frame               ; in vblank: flip the art's CHR bank
    and #ANIMATION_FRAMES
    beq :+
    lda #1
:   clc
    adc chr_base
    ldx #>MMC1_CHR0
    jsr mmc1_load
@walk:
    inc wren_x
    jsr place_wren
    jmp @loop
.endproc

; Loads the five low bits of A into the MMC1 register whose address high byte is X, one bit a
; write, bit 0 first.
.proc mmc1_load
    sta temp0
    stx ptr1 + 1
    lda #0
    sta ptr1
    ldx #5
    ldy #0
@bit:
    lda temp0
    sta (ptr1), y
    lsr temp0
    dex
    bne @bit
    rts
.endproc

; Blanks the picture, maps the exhibit's PRG bank and its art's CHR bank, draws it and shows it.
.proc show_exhibit
    jsr rendering_off
    lda exhibit
    ldx #>MMC1_PRG
    jsr mmc1_load
    lda EXHIBIT_CHR
    sta chr_base
    ldx #>MMC1_CHR0
    jsr mmc1_load

    lda #T_BLANK
    jsr clear_nametables
    lda #0                          ; title bar: rows 0-2
    ldx #3
    jsr fill_rows_solid
    lda #4                          ; the art: rows 4-25
    ldx #22
    jsr fill_art_rows
    lda EXHIBIT_TEXT
    sta ptr0
    lda EXHIBIT_TEXT + 1
    sta ptr0 + 1
    jsr draw_text_list
    lda #<band_palettes
    sta ptr0
    lda #>band_palettes
    sta ptr0 + 1
    ldx #>ATTRIBUTES_0
    jsr set_attribute_bands
    lda #<EXHIBIT_PALETTE
    sta ptr0
    lda #>EXHIBIT_PALETTE
    sta ptr0 + 1
    jsr load_palette

    lda #0
    sta exhibit_frame
    sta wren_x
    lda exhibit
    sta RESULT_DETAIL
    jsr place_wren
    lda #MASK_ALL
    jmp rendering_on
.endproc

; Sets the PPU address to the start of row A of name table 0.
.proc row_address
    pha
    lsr a
    lsr a
    lsr a
    ora #>NAMETABLE_0
    bit PPUSTATUS
    sta PPUADDR
    pla
    asl a
    asl a
    asl a
    asl a
    asl a
    sta PPUADDR
    rts
.endproc

; X rows from row A in solid colour 1.
.proc fill_rows_solid
    sta temp0
@row:
    lda temp0
    jsr row_address
    lda #T_SOLID1
    ldy #32
@tile:
    sta PPUDATA
    dey
    bne @tile
    inc temp0
    dex
    bne @row
    rts
.endproc

; X rows from row A from the exhibit's row pattern: even rows take its first 8 tiles, odd rows
; the next 8, each repeated across the 32 columns.
.proc fill_art_rows
    sta temp0
    stx temp1
@row:
    lda temp0
    jsr row_address
    lda temp0
    and #1
    asl a
    asl a
    asl a
    sta temp2                       ; 0 or 8
    ldx #32
    ldy #0
@tile:
    tya
    and #7
    ora temp2
    sty temp3
    tay
    lda EXHIBIT_ROWS, y
    ldy temp3
    sta PPUDATA
    iny
    dex
    bne @tile
    inc temp0
    dec temp1
    bne @row
    rts
.endproc

; The wren's four sprites at wren_x, walking: the picture changes every 8 frames.
.proc place_wren
    lda exhibit_frame
    and #8
    lsr a
    sta temp0
    ldx #0
    ldy #0
@sprite:
    lda wren_top, y
    sta oam_buffer, x
    tya
    clc
    adc temp0
    sta oam_buffer + 1, x
    lda #0
    sta oam_buffer + 2, x
    lda wren_left, y
    clc
    adc wren_x
    sta oam_buffer + 3, x
    inx
    inx
    inx
    inx
    iny
    cpy #WREN_TILES
    bne @sprite
    rts
.endproc

.segment "RODATA"
; Palette of each band of two rows: the title bar, the art, the caption.
band_palettes:
    .byte 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2

wren_top:
    .byte WREN_Y, WREN_Y + 8, WREN_Y, WREN_Y + 8
wren_left:
    .byte 0, 0, 8, 8
