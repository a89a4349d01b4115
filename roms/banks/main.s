; wrenfold_banks, fixed bank: start-up, the page browser and bank switching. Each of banks 0-6
; holds one page (its tiles, picture and effect code); left and right switch banks.
.include "nes.inc"
.include "runtime.inc"
.include "sound.inc"
.include "banks.inc"

LIGHTS_Y = 28 * 8 - 1
LIGHTS_X = 128 - PAGE_COUNT * 4

.segment "ZEROPAGE"
current_page:       .res 1
page_frame_counter: .res 1

.segment "BSS"
page_vars:          .res PAGE_VARS_SIZE     ; scratch for the page in view, cleared on entry
page_bands:         .res 15

.segment "CODE"

.proc main
    lda #PPU_CTRL_BANKS
    sta ppu_ctrl
    sta PPUCTRL                     ; NMIs from now on; the PPU stays locked until a page is up
    jsr load_shared_tiles
    ldx #<song_banks
    ldy #>song_banks
    jsr music_play
    lda #0
    sta current_page
    jsr show_page
    lda #BANKS_CART_ID              ; the first page is up: tell a watching test
    jsr write_result_header
    lda #PHASE_TITLE
    jsr set_result_phase

@loop:
    jsr wait_frame
    jsr read_pad
    inc page_frame_counter
    lda pad_new
    and #BUTTON_RIGHT
    beq @not_right
    ldx current_page
    inx
    cpx #PAGE_COUNT
    bcc @change
    ldx #0
    beq @change
@not_right:
    lda pad_new
    and #BUTTON_LEFT
    beq @not_left
    ldx current_page
    dex
    bpl @change
    ldx #PAGE_COUNT - 1
    bne @change
@not_left:
    lda pad_new
    and #BUTTON_SELECT
    beq @not_select
    ldx #0
    cpx current_page
    bne @change
@not_select:
    lda pad_new
    and #BUTTON_START
    beq @tick
    jsr toggle_music
    jmp @tick

@change:
    stx current_page
    ldx #<sfx_page
    ldy #>sfx_page
    jsr sfx_play_pulse
    jsr show_page
    lda current_page
    beq @welcome
    lda #PHASE_PLAY
    bne :+
@welcome:
    lda #PHASE_TITLE
:   jsr set_result_phase

@tick:
    jsr call_page_tick
    jsr draw_lights
    lda #1
    sta vram_ready
    jmp @loop
.endproc

.proc toggle_music
    lda music_enabled
    beq @start
    jmp music_stop
@start:
    ldx #<song_banks
    ldy #>song_banks
    jmp music_play
.endproc

; ---- Bank switching -------------------------------------------------------------------------
; Maps bank A at $8000. The board sees both the CPU's value and the ROM byte at the written
; address, so the write goes to a byte that already holds the bank number.
.proc switch_bank
    tay
    sta bank_numbers, y
    rts
.endproc

.proc call_page_draw
    jmp (PAGE_DRAW)
.endproc

.proc call_page_tick
    jmp (PAGE_TICK)
.endproc

; Blanks the screen, maps the current page's bank and lets it draw itself inside the shared
; header and footer, then shows the result.
.proc show_page
    jsr rendering_off
    jsr hide_all_sprites
    lda current_page
    jsr switch_bank
    lda #T_BLANK
    jsr clear_nametables
    lda #0
    sta page_frame_counter
    ldx #PAGE_VARS_SIZE - 1
@clear_vars:
    sta page_vars, x
    dex
    bpl @clear_vars
    jsr call_page_draw
    jsr draw_frame
    jsr draw_lights
    lda #0
    sta scroll_x
    sta scroll_y
    lda current_page
    sta RESULT_DETAIL
    lda #PPU_MASK_BANKS
    jmp rendering_on
.endproc

; Header: navy rows 0-2 with "BANK n" and the page name on row 1, a band on row 3.
; Footer: a band on row 26, navy rows 27-29 with the controls on row 27.
.proc draw_frame
    PPU_ADDRESS NAMETABLE_0
    ldx #32
    jsr put_spaces
    ldx #0
@header:
    lda header_text, x
    sta PPUDATA
    inx
    cpx #6
    bne @header
    lda current_page
    ora #'0'
    sta PPUDATA
    lda #T_SPACE
    sta PPUDATA
    sta PPUDATA
    lda PAGE_NAME
    sta ptr1
    lda PAGE_NAME + 1
    sta ptr1 + 1
    ldy #0
@name:
    lda (ptr1), y
    sta PPUDATA
    iny
    cpy #16
    bne @name
    ldx #32 + 7                     ; the rest of row 1 and row 2
    jsr put_spaces
    ldx #32
    lda #T_BAND
@band_top:
    sta PPUDATA
    dex
    bne @band_top

    PPU_ADDRESS NAMETABLE_0 + 26 * 32
    ldx #32
    lda #T_BAND
@band_bottom:
    sta PPUDATA
    dex
    bne @band_bottom
    ldx #0
@footer:
    lda footer_text, x
    sta PPUDATA
    inx
    cpx #32
    bne @footer
    ldx #64
    jmp put_spaces
.endproc

.proc put_spaces
    lda #T_SPACE
@space:
    sta PPUDATA
    dex
    bne @space
    rts
.endproc

; Writes the attribute table of name table 0 from 11 palette numbers at ptr0, one for each
; band of two rows in the content area; header and footer bands take palette 3.
.proc write_page_attributes
    lda #3
    sta page_bands
    sta page_bands + 1
    sta page_bands + 13
    sta page_bands + 14
    ldy #10
@copy:
    lda (ptr0), y
    sta page_bands + 2, y
    dey
    bpl @copy
    lda #<page_bands
    sta ptr0
    lda #>page_bands
    sta ptr0 + 1
    ldx #>ATTRIBUTES_0
    jmp set_attribute_bands
.endproc

; Loads the page's 16 background colours from ptr0; the header, footer and sprite colours are
; the same on every page.
.proc load_page_palette
    ldy #15
@background:
    lda (ptr0), y
    sta palette_buffer, y
    lda sprite_palette, y
    sta palette_buffer + 16, y
    dey
    bpl @background
    lda palette_buffer              ; $3F10 is the backdrop as well
    sta palette_buffer + 16
    ldx #2
@frame_colours:
    lda frame_palette, x
    sta palette_buffer + 13, x
    dex
    bpl @frame_colours
    lda #1
    sta palette_dirty
    rts
.endproc

; Sprites 0-6: one light per bank, the current one lit.
.proc draw_lights
    ldx #0
    ldy #0
@light:
    lda #LIGHTS_Y
    sta oam_buffer, x
    lda #S_LIGHT_OFF
    cpy current_page
    bne :+
    lda #S_LIGHT_ON
:   sta oam_buffer + 1, x
    lda #0
    sta oam_buffer + 2, x
    tya
    asl a
    asl a
    asl a
    adc #LIGHTS_X
    sta oam_buffer + 3, x
    inx
    inx
    inx
    inx
    iny
    cpy #PAGE_COUNT
    bne @light
    rts
.endproc

; CHR RAM starts undefined: clears it and loads the font, the frame tiles and the sprites.
.proc load_shared_tiles
    bit PPUSTATUS
    lda #0
    sta PPUADDR
    sta PPUADDR
    ldy #32                         ; 32 x 256 bytes
    ldx #0
@clear:
    sta PPUDATA
    inx
    bne @clear
    dey
    bne @clear

    PPU_ADDRESS $0010
    LOAD16 ptr0, frame_tiles
    LOAD16 temp0, frame_tiles_end - frame_tiles
    jsr copy_to_vram
    PPU_ADDRESS $0200
    LOAD16 ptr0, font_tiles
    LOAD16 temp0, font_tiles_end - font_tiles
    jsr copy_to_vram
    PPU_ADDRESS $1000
    LOAD16 ptr0, sprite_tiles
    LOAD16 temp0, sprite_tiles_end - sprite_tiles
    jmp copy_to_vram
.endproc

.segment "RODATA"

; bank_numbers + n holds n: the bus-conflict-free place to write bank n's number.
bank_numbers:
    .byte 0, 1, 2, 3, 4, 5, 6, 7

frame_palette:
    .byte $01, $11, $30             ; navy, blue, white
sprite_palette:
    .byte $0F, $0F, $00, $38        ; bank lights: dark, grey rim, lit yellow
    .byte $0F, $0F, $17, $37        ; wren
    .byte $0F, $0F, $16, $30        ; boat
    .byte $0F, $27, $38, $30        ; falling star

header_text:
    .byte " BANK "
footer_text:
    .byte " < PREV    START  MUSIC   NEXT >"
.assert * - footer_text = 32, error, "the footer is one row"
