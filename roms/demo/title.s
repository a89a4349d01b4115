; The title screen: the Wrenfold name in big letters over a meadow, a wren strolling along the
; grass, and a blinking prompt. Start begins the game.
.include "nes.inc"
.include "runtime.inc"
.include "sound.inc"
.include "tiles.inc"
.include "demo.inc"

TITLE_LOGO_ROW   = 8
TITLE_LOGO_COL   = 8
PROMPT_ADDRESS   = NAMETABLE_0 + 16 * 32 + 10
PROMPT_LENGTH    = 11
TITLE_GROUND_ROW = 26
TITLE_WREN_Y     = TITLE_GROUND_ROW * 8 - 16

.segment "ZEROPAGE"
title_frame:    .res 1
title_wren_x:   .res 1

.segment "CODE"

.proc title_screen
    jsr rendering_off
    jsr hide_all_sprites
    jsr draw_title
    LOAD16 ptr0, palette_title
    jsr load_palette
    lda #0
    sta scroll_x
    sta scroll_y
    sta title_frame
    sta title_wren_x
    lda #PPU_CTRL_DEMO
    sta ppu_ctrl
    lda #PPU_MASK_DEMO
    jsr rendering_on

    lda #DEMO_CART_ID               ; the title is up: tell a watching test
    jsr write_result_header
    lda #PHASE_TITLE
    jsr set_result_phase

@loop:
    jsr wait_frame
    jsr read_pad
    lda pad_new
    and #BUTTON_START
    bne @start
    inc title_frame
    jsr walk_title_wren
    jsr blink_prompt
    jmp @loop

@start:
    lda nmi_count                   ; the moment Start was pressed seeds the game's randomness
    eor rng
    sta rng
    lda title_frame
    eor rng + 1
    ora #1                          ; never all zero
    sta rng + 1
    ldx #<sfx_start
    ldy #>sfx_start
    jsr sfx_play_pulse
    jmp game_start
.endproc

; Rendering is off: draws the whole title picture.
.proc draw_title
    lda #T_SKY
    jsr clear_nametables

    ; The logo: each big letter is two rows of two tiles.
    ldx #0
@logo_top:
    jsr set_logo_top_address
    lda logo_letters, x
    sta PPUDATA
    ora #1
    sta PPUDATA
    inx
    cpx #8
    bne @logo_top
    ldx #0
@logo_bottom:
    jsr set_logo_bottom_address
    lda logo_letters, x
    ora #2
    sta PPUDATA
    ora #1
    sta PPUDATA
    inx
    cpx #8
    bne @logo_bottom

    LOAD16 ptr0, title_texts
    jsr draw_text_list

    ; Clouds.
    LOAD16 ptr0, title_clouds
    jsr draw_text_list

    ; Meadow: flowers and bushes on the grass, dirt below.
    PPU_ADDRESS NAMETABLE_0 + (TITLE_GROUND_ROW - 2) * 32
    ldx #0
@deco:
    lda title_decoration, x
    sta PPUDATA
    inx
    cpx #64
    bne @deco
    ldx #0
@ground:
    txa
    and #1
    ora #T_GRASS
    sta PPUDATA
    inx
    cpx #32
    bne @ground
    ldy #3
@dirt_row:
    ldx #0
@dirt:
    txa
    sta temp0
    tya
    eor temp0
    and #1
    ora #T_DIRT
    sta PPUDATA
    inx
    cpx #32
    bne @dirt
    dey
    bne @dirt_row

    LOAD16 ptr0, title_bands
    ldx #>ATTRIBUTES_0
    jmp set_attribute_bands
.endproc

; PPUADDR = top row of big letter X.
.proc set_logo_top_address
    bit PPUSTATUS
    lda #>(NAMETABLE_0 + TITLE_LOGO_ROW * 32 + TITLE_LOGO_COL)
    sta PPUADDR
    txa
    asl a
    clc
    adc #<(NAMETABLE_0 + TITLE_LOGO_ROW * 32 + TITLE_LOGO_COL)
    sta PPUADDR
    rts
.endproc

.proc set_logo_bottom_address
    bit PPUSTATUS
    lda #>(NAMETABLE_0 + (TITLE_LOGO_ROW + 1) * 32 + TITLE_LOGO_COL)
    sta PPUADDR
    txa
    asl a
    clc
    adc #<(NAMETABLE_0 + (TITLE_LOGO_ROW + 1) * 32 + TITLE_LOGO_COL)
    sta PPUADDR
    rts
.endproc

; The wren walks right along the grass, one pixel every other frame, and wraps round.
.proc walk_title_wren
    lda title_frame
    and #1
    bne :+
    inc title_wren_x
:   lda #TITLE_WREN_Y - 1
    sta oam_buffer
    sta oam_buffer + 4
    lda title_frame
    and #8
    beq :+
    lda #S_WREN_WALK
    bne :++
:   lda #S_WREN_STAND
:   ora #1
    sta oam_buffer + 1
    ora #2
    sta oam_buffer + 5
    lda #SP_WREN
    sta oam_buffer + 2
    sta oam_buffer + 6
    lda title_wren_x
    sta oam_buffer + 3
    clc
    adc #8
    sta oam_buffer + 7
    rts
.endproc

; Every 32 frames the prompt appears or vanishes.
.proc blink_prompt
    lda title_frame
    and #31
    bne @done
    lda #PROMPT_LENGTH
    ldx #>PROMPT_ADDRESS
    ldy #<PROMPT_ADDRESS
    jsr vram_begin
    ldy #0
@copy:
    lda title_frame
    and #32
    beq @blank
    lda prompt_text, y
    jmp @store
@blank:
    lda #T_SKY
@store:
    sta vram_queue, x
    inx
    iny
    cpy #PROMPT_LENGTH
    bne @copy
    jsr vram_end
    lda #1
    sta vram_ready
@done:
    rts
.endproc

.segment "RODATA"

logo_letters:
    .byte T_BIG_W, T_BIG_R, T_BIG_E, T_BIG_N, T_BIG_F, T_BIG_O, T_BIG_L, T_BIG_D

title_texts:
    TEXT_AT 12, 9, "THE MEADOW RUN"
    TEXT_AT 16, 10, "PRESS START"
    TEXT_AT 19, 8, "LEFT RIGHT  WALK"
    TEXT_AT 21, 8, "A  JUMP  B  SEED"
    TEXT_AT 23, 8, "START  PAUSE"
    .byte 0
prompt_text:
    .byte "PRESS START"

title_clouds:
    .byte >(NAMETABLE_0 + 3 * 32 + 3), <(NAMETABLE_0 + 3 * 32 + 3)
    .byte T_CLOUD_TOP, T_CLOUD_TOP + 1, T_CLOUD_TOP + 1, T_CLOUD_TOP + 1, T_CLOUD_TOP + 2, 0
    .byte >(NAMETABLE_0 + 4 * 32 + 3), <(NAMETABLE_0 + 4 * 32 + 3)
    .byte T_CLOUD_BOTTOM, T_CLOUD_BOTTOM + 1, T_CLOUD_BOTTOM + 1, T_CLOUD_BOTTOM + 1, T_CLOUD_BOTTOM + 2, 0
    .byte >(NAMETABLE_0 + 5 * 32 + 22), <(NAMETABLE_0 + 5 * 32 + 22)
    .byte T_CLOUD_TOP, T_CLOUD_TOP + 1, T_CLOUD_TOP + 1, T_CLOUD_TOP + 2, 0
    .byte >(NAMETABLE_0 + 6 * 32 + 22), <(NAMETABLE_0 + 6 * 32 + 22)
    .byte T_CLOUD_BOTTOM, T_CLOUD_BOTTOM + 1, T_CLOUD_BOTTOM + 1, T_CLOUD_BOTTOM + 2, 0
    .byte 0

; Rows 24 and 25: bushes and flowers standing on the grass.
B0 = T_BUSH
title_decoration:
    .byte 0, 0, 0, B0, B0+1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0
    .byte 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, B0, B0+1, 0, 0, 0, 0
    .byte 0, T_FLOWER, 0, B0+2, B0+3, 0, 0, T_FLOWER+1, 0, 0, 0, 0, T_FLOWER, 0, 0, 0
    .byte 0, 0, 0, T_FLOWER+1, 0, 0, 0, 0, T_FLOWER, 0, B0+2, B0+3, 0, 0, T_FLOWER+1, 0

; Palette of each band of two tile rows: clouds, text, logo, text, meadow.
title_bands:
    .byte 3, 3, 3, 3, 0, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1
