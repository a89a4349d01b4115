; Bank 3: a night sky. Stars of three sizes are scattered by a fixed random sequence above dark
; hills, a moon hangs in the corner and the stars twinkle by palette rotation. A sends a falling
; star across the sky.
.linecont +
.include "nes.inc"
.include "runtime.inc"
.include "sound.inc"
.include "chr_macros.inc"
.include "banks.inc"

T_STAR_SMALL  = PAGE_TILES
T_STAR_CROSS  = PAGE_TILES + 1
T_STAR_BIG    = PAGE_TILES + 2
T_MOON        = PAGE_TILES + 4      ; 16x16
T_SLOPE_LEFT  = PAGE_TILES + 8
T_SLOPE_RIGHT = PAGE_TILES + 9
T_HILL        = T_SOLID1

STAR_COUNT    = 48
SKY_ROWS      = 14                  ; stars on rows 4-17
HILL_ROW      = 19
MOON_ROW      = 6
MOON_COL      = 24
COMET_FRAMES  = 48

; A row of hills from a picture: '(' and ')' are slopes, '#' is solid, '.' is sky.
.macro HILLS_AT row, picture
    .assert .strlen(picture) = 32, error, "a hill row is 32 tiles"
    .byte >(NAMETABLE_0 + (row) * 32), <(NAMETABLE_0 + (row) * 32)
    .repeat 32, i
        .if .strat(picture, i) = '('
            .byte T_SLOPE_LEFT
        .elseif .strat(picture, i) = ')'
            .byte T_SLOPE_RIGHT
        .elseif .strat(picture, i) = '#'
            .byte T_HILL
        .else
            .byte T_BLANK
        .endif
    .endrepeat
.endmacro
HILL_LINES = 3

comet_timer   = page_vars + 0
comet_x       = page_vars + 1
comet_y       = page_vars + 2
twinkle_phase = page_vars + 3

.segment "BANK3"
    PAGE_HEADER 3, draw, tick, name

name:
    .byte "NIGHT SKY       "

.proc draw
    PPU_ADDRESS PAGE_TILE_ADDRESS
    LOAD16 ptr0, tiles
    LOAD16 temp0, tiles_end - tiles
    jsr copy_to_vram

    ; Stars: the same sequence every time, from a seed of this page's own.
    lda rng
    pha
    lda rng + 1
    pha
    lda #$C5
    sta rng
    lda #$3B
    sta rng + 1
    ldx #STAR_COUNT
@star:
    jsr rand                        ; column 0-31 and one of the 15 sky rows
    and #31
    sta temp0
@pick_row:
    jsr rand
    and #15
    cmp #SKY_ROWS
    bcs @pick_row
    clc
    adc #CONTENT_TOP
    ; address = $2000 + row * 32 + column
    sta temp1
    lda #0
    sta temp2
    lda temp1
    asl a
    asl a
    asl a
    asl a
    rol temp2
    asl a
    rol temp2
    ora temp0
    sta temp3
    lda temp2
    ora #>NAMETABLE_0
    bit PPUSTATUS
    sta PPUADDR
    lda temp3
    sta PPUADDR
    jsr rand                        ; mostly small stars
    and #7
    tay
    lda star_kinds, y
    sta PPUDATA
    dex
    bne @star
    pla
    sta rng + 1
    pla
    sta rng

    LOAD16 ptr0, moon_and_hills
    jsr draw_text_list
    ldx #0
    lda #HILL_LINES
    sta temp0
@hill_line:
    bit PPUSTATUS
    lda hills, x
    sta PPUADDR
    lda hills + 1, x
    sta PPUADDR
    inx
    inx
    ldy #32
@hill_tile:
    lda hills, x
    sta PPUDATA
    inx
    dey
    bne @hill_tile
    dec temp0
    bne @hill_line

    ; Hill bottoms: solid rows to the end of the content area.
    PPU_ADDRESS NAMETABLE_0 + (HILL_ROW + 3) * 32
    lda #T_HILL
    ldx #4 * 32
@ground:
    sta PPUDATA
    dex
    bne @ground

    LOAD16 ptr0, bands
    jsr write_page_attributes
    ; The moon's corner of the sky takes palette 2.
    PPU_ADDRESS ATTRIBUTES_0 + (MOON_ROW / 4) * 8 + MOON_COL / 4
    lda #%00100000
    sta PPUDATA
    LOAD16 ptr0, palette
    jmp load_page_palette
.endproc

.proc tick
    ; Twinkle: the three star colours rotate every 12 frames.
    lda page_frame_counter
    and #3
    bne @no_twinkle
    inc twinkle_phase
    lda twinkle_phase
    cmp #12
    bcc @no_twinkle
    lda #0
    sta twinkle_phase
    ldx palette_buffer + 1
    lda palette_buffer + 2
    sta palette_buffer + 1
    lda palette_buffer + 3
    sta palette_buffer + 2
    stx palette_buffer + 3
    lda #1
    sta palette_dirty
@no_twinkle:

    lda pad_new
    and #BUTTON_A
    beq @no_comet
    lda comet_timer
    bne @no_comet
    lda #COMET_FRAMES
    sta comet_timer
    jsr rand
    and #63
    clc
    adc #96
    sta comet_x
    lda #5 * 8
    sta comet_y
    ldx #<sfx_action
    ldy #>sfx_action
    jsr sfx_play_pulse
@no_comet:
    lda comet_timer
    beq @hide
    dec comet_timer
    lda comet_x                     ; down and to the left, two pixels a frame
    sec
    sbc #2
    sta comet_x
    inc comet_y
    lda comet_y
    sta oam_buffer + PAGE_SPRITES
    lda #S_COMET
    sta oam_buffer + PAGE_SPRITES + 1
    lda #$C0 | 3                    ; flipped both ways: the head leads, down and to the left
    sta oam_buffer + PAGE_SPRITES + 2
    lda comet_x
    sta oam_buffer + PAGE_SPRITES + 3
    rts
@hide:
    lda #SPRITE_HIDDEN_Y
    sta oam_buffer + PAGE_SPRITES
    rts
.endproc

star_kinds:
    .byte T_STAR_SMALL, T_STAR_SMALL, T_STAR_SMALL, T_STAR_SMALL
    .byte T_STAR_CROSS, T_STAR_CROSS, T_STAR_SMALL, T_STAR_BIG

moon_and_hills:
    .byte >(NAMETABLE_0 + MOON_ROW * 32 + MOON_COL), <(NAMETABLE_0 + MOON_ROW * 32 + MOON_COL)
    .byte T_MOON, T_MOON + 1, 0
    .byte >(NAMETABLE_0 + (MOON_ROW + 1) * 32 + MOON_COL), <(NAMETABLE_0 + (MOON_ROW + 1) * 32 + MOON_COL)
    .byte T_MOON + 2, T_MOON + 3, 0
    .byte 0

hills:
    HILLS_AT HILL_ROW,     "........()......................"
    HILLS_AT HILL_ROW + 1, ".......(##)..............()....."
    HILLS_AT HILL_ROW + 2, "......(####)....()......(##)..()"

; Palettes of the content bands: stars above, hills below.
bands:
    .byte 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1

palette:
    .byte $0F, $00, $10, $30        ; stars, rotated to twinkle
    .byte $0F, $0C, $1C, $2C        ; hills
    .byte $0F, $18, $28, $38        ; moon
    .byte $0F, $01, $11, $30

tiles:
    TILE "........", "........", "........", "...1....", "........", "........", "........", "........"
    TILE "........", "...2....", "..222...", "...2....", "........", "........", "........", "........"
    TILE "...3....", "...3....", ".3.3.3..", "..333...", "3333333.", "..333...", ".3.3.3..", "...3...."
    TILE "........", "........", "........", "........", "........", "........", "........", "........"
    META16 "................", \
           ".....111111.....", \
           "...1133333311...", \
           "..133333323331..", \
           "..133223333331..", \
           ".13332233333331.", \
           ".13333333332231.", \
           ".13333333332231.", \
           ".13333223333331.", \
           ".13333223333331.", \
           "..133333333331..", \
           "..133333332331..", \
           "...1133333311...", \
           ".....111111.....", \
           "................", \
           "................"
    TILE ".......1", "......11", ".....111", "....1111", "...11111", "..111111", ".1111111", "11111111"
    TILE "1.......", "11......", "111.....", "1111....", "11111...", "111111..", "1111111.", "11111111"
tiles_end:
