; Bank 4: the sea. Its two water tiles are redrawn in CHR RAM every few frames so the waves
; roll, while a boat sails across. A turns the boat, B calms or stirs the sea.
.linecont +
.include "nes.inc"
.include "runtime.inc"
.include "chr_macros.inc"
.include "banks.inc"

T_WATER_A = PAGE_TILES
T_WATER_B = PAGE_TILES + 1
T_SUN     = PAGE_TILES + 4          ; 16x16
T_ISLE_LEFT  = PAGE_TILES + 8
T_ISLE_RIGHT = PAGE_TILES + 9
T_ISLE    = T_SOLID3

SEA_ROW   = 14
BOAT_TOP  = SEA_ROW * 8 - 12

water     = page_vars + 0           ; 32 bytes: the two water tiles as they are now
boat_x    = page_vars + 32
boat_dir  = page_vars + 33
calm      = page_vars + 34

.segment "BANK4"
    PAGE_HEADER 4, draw, tick, name

name:
    .byte "ROLLING SEA     "

.proc draw
    PPU_ADDRESS PAGE_TILE_ADDRESS
    LOAD16 ptr0, tiles
    LOAD16 temp0, tiles_end - tiles
    jsr copy_to_vram
    ldx #31
@copy_water:
    lda tiles, x
    sta water, x
    dex
    bpl @copy_water

    PPU_ADDRESS NAMETABLE_0 + SEA_ROW * 32
    ldy #CONTENT_TOP + CONTENT_ROWS - SEA_ROW
@sea_row:
    ldx #32
    tya
    and #1
    ora #T_WATER_A
@sea:
    sta PPUDATA
    dex
    bne @sea
    dey
    bne @sea_row

    LOAD16 ptr0, pieces
    jsr draw_text_list
    LOAD16 ptr0, bands
    jsr write_page_attributes
    LOAD16 ptr0, palette
    jsr load_page_palette
    lda #24
    sta boat_x
    rts
.endproc

.proc tick
    lda pad_new
    and #BUTTON_A
    beq :+
    lda boat_dir
    eor #1
    sta boat_dir
:   lda pad_new
    and #BUTTON_B
    beq :+
    lda calm
    eor #1
    sta calm
:
    ; Waves: every 8 frames (16 when calm) each row of both tiles turns one pixel left.
    lda calm
    beq :+
    lda #15
    bne :++
:   lda #7
:   and page_frame_counter
    bne @boat
    ldx #31
@row:
    lda water, x
    asl a
    adc #0                          ; the pixel leaving on the left comes back on the right
    sta water, x
    dex
    bpl @row
    lda #32
    ldx #>PAGE_TILE_ADDRESS
    ldy #<PAGE_TILE_ADDRESS
    jsr vram_begin
    ldy #0
@queue:
    lda water, y
    sta vram_queue, x
    inx
    iny
    cpy #32
    bne @queue
    jsr vram_end

@boat:
    lda page_frame_counter          ; a pixel every 4 frames
    and #3
    bne @draw_boat
    lda boat_dir
    bne @left
    inc boat_x
    jmp @draw_boat
@left:
    dec boat_x
@draw_boat:
    lda page_frame_counter          ; bob up and down
    lsr a
    lsr a
    lsr a
    lsr a
    and #1
    clc
    adc #BOAT_TOP - 1
    sta temp1
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
    eor boat_dir
    clc
    adc #S_BOAT
    sta oam_buffer + 1, x
    lda boat_dir
    beq :+
    lda #$40
:   ora #2
    sta oam_buffer + 2, x
    tya
    and #1
    asl a
    asl a
    asl a
    adc boat_x
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

pieces:
    .byte >(NAMETABLE_0 + 6 * 32 + 6), <(NAMETABLE_0 + 6 * 32 + 6)
    .byte T_SUN, T_SUN + 1, 0
    .byte >(NAMETABLE_0 + 7 * 32 + 6), <(NAMETABLE_0 + 7 * 32 + 6)
    .byte T_SUN + 2, T_SUN + 3, 0
    .byte >(NAMETABLE_0 + 12 * 32 + 21), <(NAMETABLE_0 + 12 * 32 + 21)
    .byte T_ISLE_LEFT, T_ISLE, T_ISLE, T_ISLE_RIGHT, 0
    .byte >(NAMETABLE_0 + 13 * 32 + 19), <(NAMETABLE_0 + 13 * 32 + 19)
    .byte T_ISLE_LEFT, T_ISLE, T_ISLE, T_ISLE, T_ISLE, T_ISLE, T_ISLE, T_ISLE_RIGHT, 0
    .byte 0

; Sky with the sun, the island's band, then water.
bands:
    .byte 0, 0, 0, 0, 2, 1, 1, 1, 1, 1, 1

SKY = $31
palette:
    .byte SKY, $38, $28, $27        ; sun
    .byte SKY, $11, $21, $30        ; water: deep, light, foam
    .byte SKY, $0A, $1A, $0A        ; island
    .byte SKY, $01, $11, $30

tiles:
    TILE "11111111", "11222111", "12211221", "22111122", "11111111", "11111111", "11111133", "11111111"
    TILE "11111111", "11111111", "11112221", "21122112", "12211111", "11111111", "31111111", "11111111"
    TILE "........", "........", "........", "........", "........", "........", "........", "........"
    TILE "........", "........", "........", "........", "........", "........", "........", "........"
    META16 "......1111......", \
           "....11111111....", \
           "...1111111111...", \
           "..111122111111..", \
           ".11112222211111.", \
           ".11122222211111.", \
           "1111222221111111", \
           "1111122211111111", \
           "1111111111111111", \
           "1111111111111111", \
           ".11111111111111.", \
           ".11111111111111.", \
           "..111111111111..", \
           "...1111111111...", \
           "....11111111....", \
           "......1111......"
    TILE ".......3", "......33", ".....333", "....3333", "...33333", "..333333", ".3333333", "33333333"
    TILE "3.......", "33......", "333.....", "3333....", "33333...", "333333..", "3333333.", "33333333"
tiles_end:
