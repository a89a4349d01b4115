; Bank 1: a meadow picture made of this bank's scenery tiles, with hills, a sun, clouds and a
; wren that walks the grass. A makes the wren hop, B turns it round.
.linecont +
.include "nes.inc"
.include "runtime.inc"
.include "chr_macros.inc"
.include "scenery_tiles.inc"
.include "banks.inc"

T_GRASS  = PAGE_TILES + SCENERY_GRASS
T_DIRT   = PAGE_TILES + SCENERY_DIRT
T_BLOCK  = PAGE_TILES + SCENERY_BLOCK
T_BUSH   = PAGE_TILES + SCENERY_BUSH
T_FLOWER = PAGE_TILES + SCENERY_FLOWER
T_CLOUD_TOP    = PAGE_TILES + SCENERY_CLOUD_TOP
T_CLOUD_BOTTOM = PAGE_TILES + SCENERY_CLOUD_BOTTOM
T_SUN    = PAGE_TILES + SCENERY_TILE_COUNT          ; 16x16
T_HILL_LEFT  = T_SUN + 4
T_HILL_RIGHT = T_SUN + 5
T_HILL   = T_SOLID3

GRASS_ROW = 20
WREN_TOP  = GRASS_ROW * 8 - 16

wren_x     = page_vars + 0
wren_dir   = page_vars + 1          ; 0 right, 1 left
hop_step   = page_vars + 2          ; 0 standing, else the step of the hop
HOP_STEPS  = 24

.segment "BANK1"
    PAGE_HEADER 1, draw, tick, name

name:
    .byte "MEADOW          "

.proc draw
    PPU_ADDRESS PAGE_TILE_ADDRESS
    LOAD16 ptr0, tiles
    LOAD16 temp0, tiles_end - tiles
    jsr copy_to_vram

    ; Hills: each row of a hill is a left slope, solid ground, a right slope.
    ldx #0
@hill_row:
    lda hill_rows, x
    beq @hills_done
    sta temp0                       ; address high
    lda hill_rows + 1, x
    sta temp1
    lda hill_rows + 2, x
    sta temp2                       ; width of the solid part
    bit PPUSTATUS
    lda temp0
    sta PPUADDR
    lda temp1
    sta PPUADDR
    lda #T_HILL_LEFT
    sta PPUDATA
    ldy temp2
    beq @right
    lda #T_HILL
@fill:
    sta PPUDATA
    dey
    bne @fill
@right:
    lda #T_HILL_RIGHT
    sta PPUDATA
    inx
    inx
    inx
    bne @hill_row
@hills_done:

    ; Grass and dirt.
    PPU_ADDRESS NAMETABLE_0 + GRASS_ROW * 32
    ldx #0
@grass:
    txa
    and #1
    ora #T_GRASS
    sta PPUDATA
    inx
    cpx #32
    bne @grass
    ldy #CONTENT_TOP + CONTENT_ROWS - GRASS_ROW - 1
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

    LOAD16 ptr0, pieces
    jsr draw_text_list
    LOAD16 ptr0, bands
    jsr write_page_attributes
    LOAD16 ptr0, palette
    jsr load_page_palette
    lda #40
    sta wren_x
    rts
.endproc

.proc tick
    lda pad_new
    and #BUTTON_B
    beq :+
    lda wren_dir
    eor #1
    sta wren_dir
:   lda pad_new
    and #BUTTON_A
    beq :+
    lda hop_step
    bne :+
    lda #1
    sta hop_step
:
    ; Walk a pixel every other frame and turn at the edges.
    lda page_frame_counter
    and #1
    bne @walked
    lda wren_dir
    bne @left
    inc wren_x
    lda wren_x
    cmp #232
    bcc @walked
    lda #1
    sta wren_dir
    bne @walked
@left:
    dec wren_x
    lda wren_x
    cmp #8
    bcs @walked
    lda #0
    sta wren_dir
@walked:
    ldx #0                          ; height of the hop
    lda hop_step
    beq @standing
    tax
    inc hop_step
    lda hop_step
    cmp #HOP_STEPS + 1
    bcc :+
    lda #0
    sta hop_step
:   lda hop_height - 1, x
    tax
@standing:
    stx temp0
    lda #WREN_TOP - 1
    sec
    sbc temp0
    sta temp1                       ; OAM y of the upper half

    lda #S_WREN_JUMP
    ldx hop_step
    bne @frame
    lda page_frame_counter
    and #8
    beq :+
    lda #S_WREN_WALK
    bne @frame
:   lda #S_WREN_STAND
@frame:
    sta temp2
    ; Four sprites: top left, top right, bottom left, bottom right (swapped when mirrored).
    ldx #PAGE_SPRITES
    ldy #0
@sprite:
    lda temp1
    cpy #2
    bcc :+
    clc
    adc #8
:   sta oam_buffer, x
    tya
    eor wren_dir                    ; mirrored: left and right halves change places
    clc
    adc temp2
    sta oam_buffer + 1, x
    lda wren_dir
    beq :+
    lda #$40
:   ora #1
    sta oam_buffer + 2, x
    tya
    and #1
    asl a
    asl a
    asl a
    adc wren_x
    sta oam_buffer + 3, x
    inx
    inx
    inx
    inx
    iny
    cpy #4
    bne @sprite
    rts
.endproc

hop_height:
    .byte 3, 6, 9, 11, 13, 15, 16, 17, 18, 18, 18, 18
    .byte 17, 16, 15, 13, 11, 9, 7, 5, 3, 2, 1, 0

.macro HILL row, col, width
    .byte >(NAMETABLE_0 + (row) * 32 + (col)), <(NAMETABLE_0 + (row) * 32 + (col)), width
.endmacro
hill_rows:
    HILL 14, 7, 0
    HILL 15, 6, 2
    HILL 16, 5, 4
    HILL 17, 4, 6
    HILL 18, 3, 8
    HILL 19, 2, 10
    HILL 16, 21, 0
    HILL 17, 20, 2
    HILL 18, 19, 4
    HILL 19, 18, 6
    .byte 0

C_T = T_CLOUD_TOP
C_B = T_CLOUD_BOTTOM
pieces:
    .byte >(NAMETABLE_0 + 6 * 32 + 4), <(NAMETABLE_0 + 6 * 32 + 4)
    .byte C_T, C_T + 1, C_T + 1, C_T + 1, C_T + 2, 0
    .byte >(NAMETABLE_0 + 7 * 32 + 4), <(NAMETABLE_0 + 7 * 32 + 4)
    .byte C_B, C_B + 1, C_B + 1, C_B + 1, C_B + 2, 0
    .byte >(NAMETABLE_0 + 8 * 32 + 14), <(NAMETABLE_0 + 8 * 32 + 14)
    .byte C_T, C_T + 1, C_T + 2, 0
    .byte >(NAMETABLE_0 + 9 * 32 + 14), <(NAMETABLE_0 + 9 * 32 + 14)
    .byte C_B, C_B + 1, C_B + 2, 0
    .byte >(NAMETABLE_0 + 5 * 32 + 25), <(NAMETABLE_0 + 5 * 32 + 25)
    .byte T_SUN, T_SUN + 1, 0
    .byte >(NAMETABLE_0 + 6 * 32 + 25), <(NAMETABLE_0 + 6 * 32 + 25)
    .byte T_SUN + 2, T_SUN + 3, 0
    .byte >(NAMETABLE_0 + 12 * 32 + 22), <(NAMETABLE_0 + 12 * 32 + 22)
    .byte T_BLOCK, T_BLOCK + 1, T_BLOCK, T_BLOCK + 1, T_BLOCK, T_BLOCK + 1, 0
    .byte >(NAMETABLE_0 + 13 * 32 + 22), <(NAMETABLE_0 + 13 * 32 + 22)
    .byte T_BLOCK + 2, T_BLOCK + 3, T_BLOCK + 2, T_BLOCK + 3, T_BLOCK + 2, T_BLOCK + 3, 0
    .byte >(NAMETABLE_0 + 18 * 32 + 27), <(NAMETABLE_0 + 18 * 32 + 27)
    .byte T_BUSH, T_BUSH + 1, 0
    .byte >(NAMETABLE_0 + 19 * 32 + 27), <(NAMETABLE_0 + 19 * 32 + 27)
    .byte T_BUSH + 2, T_BUSH + 3, T_FLOWER + 1, 0
    .byte >(NAMETABLE_0 + 19 * 32 + 14), <(NAMETABLE_0 + 19 * 32 + 14)
    .byte T_FLOWER, 0
    .byte >(NAMETABLE_0 + 19 * 32 + 16), <(NAMETABLE_0 + 19 * 32 + 16)
    .byte T_FLOWER + 1, T_FLOWER, 0
    .byte 0

; Sky and clouds in palette 0, hills and ground in palette 1.
bands:
    .byte 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1

SKY = $21
palette:
    .byte SKY, $30, $27, $07        ; clouds, sun, blocks
    .byte SKY, $38, $17, $1A        ; meadow
    .byte SKY, $30, $27, $07
    .byte SKY, $01, $11, $30

tiles:
    SCENERY_TILES
    ; The sun (sky palette: 1 white, 2 orange, 3 dark brown).
    META16 "................", \
           "......2222......", \
           "....22222222....", \
           "...2222112222...", \
           "..222211112222..", \
           "..222111112222..", \
           ".22221111222222.", \
           ".22221112222222.", \
           ".22222222222222.", \
           ".22222222222222.", \
           "..222222222222..", \
           "..222222222222..", \
           "...2222222222...", \
           "....22222222....", \
           "......2222......", \
           "................"
    ; Hill slopes (meadow palette, green).
    TILE ".......3", "......33", ".....333", "....3333", "...33333", "..333333", ".3333333", "33333333"
    TILE "3.......", "33......", "333.....", "3333....", "33333...", "333333..", "3333333.", "33333333"
tiles_end:
