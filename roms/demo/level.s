; The meadow: a 2048-pixel loop of ground, brick platforms, bushes and flowers, and the code that
; turns one 8-pixel column of it into name-table tiles.
.include "nes.inc"
.include "runtime.inc"
.include "tiles.inc"
.include "demo.inc"

; One byte per 16-pixel column: bits 0-1 ground height h (top tile row 24 - 2h), bits 2-4
; platform p (top tile row 8 + 2p, 0 = none), bits 5-6 decoration on the ground.
DECO_NONE   = 0
DECO_BUSH   = 1
DECO_FLOWER = 2

.macro COLUMNS count, height, platform, deco
    .repeat count
        .byte (height) | ((platform) << 2) | ((deco) << 5)
    .endrepeat
.endmacro

.segment "RODATA"
level_columns:
    COLUMNS 3, 0, 0, DECO_NONE          ; 0: start field
    COLUMNS 1, 0, 0, DECO_FLOWER
    COLUMNS 2, 0, 0, DECO_NONE
    COLUMNS 1, 0, 0, DECO_BUSH
    COLUMNS 1, 0, 0, DECO_NONE
    COLUMNS 3, 0, 5, DECO_NONE          ; 8: first ledge
    COLUMNS 2, 0, 0, DECO_FLOWER
    COLUMNS 3, 0, 0, DECO_NONE
    COLUMNS 2, 1, 0, DECO_NONE          ; 16: a step up
    COLUMNS 1, 1, 0, DECO_BUSH
    COLUMNS 3, 2, 0, DECO_NONE          ; 19: hill top
    COLUMNS 2, 1, 0, DECO_FLOWER
    COLUMNS 3, 0, 0, DECO_NONE          ; 24
    COLUMNS 4, 0, 4, DECO_NONE          ; 27: high ledge
    COLUMNS 1, 0, 0, DECO_BUSH
    COLUMNS 3, 0, 0, DECO_NONE          ; 32: beetle run
    COLUMNS 1, 0, 0, DECO_FLOWER
    COLUMNS 4, 0, 0, DECO_NONE
    COLUMNS 2, 0, 5, DECO_NONE          ; 40: stairs of ledges
    COLUMNS 1, 0, 0, DECO_NONE
    COLUMNS 2, 0, 3, DECO_NONE
    COLUMNS 1, 0, 0, DECO_NONE
    COLUMNS 2, 0, 1, DECO_NONE
    COLUMNS 2, 0, 0, DECO_FLOWER        ; 48
    COLUMNS 2, 0, 0, DECO_NONE
    COLUMNS 1, 0, 0, DECO_BUSH
    COLUMNS 3, 1, 0, DECO_NONE          ; 53: raised meadow
    COLUMNS 1, 1, 0, DECO_FLOWER
    COLUMNS 4, 1, 4, DECO_NONE
    COLUMNS 2, 1, 0, DECO_BUSH
    COLUMNS 3, 0, 0, DECO_NONE          ; 63
    COLUMNS 1, 0, 0, DECO_FLOWER
    COLUMNS 4, 0, 0, DECO_NONE          ; 67: beetle run
    COLUMNS 1, 0, 0, DECO_BUSH
    COLUMNS 3, 0, 5, DECO_NONE          ; 72
    COLUMNS 3, 0, 3, DECO_NONE
    COLUMNS 2, 0, 0, DECO_NONE
    COLUMNS 2, 1, 0, DECO_FLOWER        ; 80
    COLUMNS 2, 2, 0, DECO_NONE
    COLUMNS 2, 2, 0, DECO_NONE
    COLUMNS 2, 1, 0, DECO_NONE
    COLUMNS 3, 0, 0, DECO_NONE          ; 88
    COLUMNS 1, 0, 0, DECO_BUSH
    COLUMNS 2, 0, 0, DECO_FLOWER
    COLUMNS 4, 0, 0, DECO_NONE          ; 94: beetle run
    COLUMNS 4, 0, 5, DECO_NONE          ; 98
    COLUMNS 2, 0, 0, DECO_NONE
    COLUMNS 3, 0, 2, DECO_NONE          ; 104: very high ledge, reached from the one before
    COLUMNS 1, 0, 0, DECO_BUSH
    COLUMNS 2, 0, 0, DECO_NONE
    COLUMNS 2, 0, 0, DECO_FLOWER        ; 110
    COLUMNS 4, 0, 0, DECO_NONE          ; 112: beetle run
    COLUMNS 1, 0, 0, DECO_BUSH
    COLUMNS 3, 1, 0, DECO_NONE          ; 117
    COLUMNS 2, 1, 0, DECO_FLOWER
    COLUMNS 2, 0, 0, DECO_NONE          ; 122
    COLUMNS 1, 0, 0, DECO_FLOWER
    COLUMNS 3, 0, 0, DECO_NONE          ; 125
level_columns_end:
.assert level_columns_end - level_columns = LEVEL_COLUMNS, error, "the meadow is 128 columns long"

.segment "BSS"
column_tiles:   .res PLAYFIELD_ROWS     ; rows 4-29 of one tile column

.segment "ZEROPAGE"
col_world:      .res 1                  ; world tile column 0-255
col_ground:     .res 1                  ; ground top row
col_info:       .res 1

.segment "CODE"

; Ground top row (A) of 16-pixel column X (0-127).
.proc ground_row_of_column
    lda level_columns, x
    and #3
    asl a
    eor #$FF
    sec
    adc #GROUND_ROW                     ; GROUND_ROW - 2h
    rts
.endproc

; Platform top row (A) of 16-pixel column X, or 0 when it has none.
.proc platform_row_of_column
    lda level_columns, x
    and #%00011100
    beq @none
    lsr a                               ; (p << 2) >> 1 = 2p
    clc
    adc #8
@none:
    rts
.endproc

; Fills column_tiles for world tile column A (0-255).
.proc render_column
    sta col_world
    lsr a
    tax
    lda level_columns, x
    sta col_info
    jsr ground_row_of_column
    sta col_ground

    ; Sky, with two layers of clouds that repeat every 256 and 512 pixels.
    ldx #PLAYFIELD_ROWS - 1
    lda #T_SKY
@sky:
    sta column_tiles, x
    dex
    bpl @sky

    lda col_world
    and #31
    sec
    sbc #4
    cmp #8                              ; cloud A over columns 4-11 of every 32, rows 6-7
    bcs @no_cloud_a
    ldy #6 - PLAYFIELD_TOP
    jsr put_cloud_piece
@no_cloud_a:
    lda col_world
    clc
    adc #20
    and #63
    cmp #6                              ; cloud B over 6 columns of every 64, rows 12-13
    bcs @no_cloud_b
    ldy #12 - PLAYFIELD_TOP
    jsr put_cloud_piece
@no_cloud_b:

    ; Platform block.
    lda col_world
    lsr a
    tax
    jsr platform_row_of_column
    beq @no_platform
    sec
    sbc #PLAYFIELD_TOP
    tay
    lda col_world
    and #1
    ora #T_BLOCK
    sta column_tiles, y
    ora #2
    sta column_tiles + 1, y
@no_platform:

    ; Decoration standing on the ground.
    lda col_info
    and #%01100000
    beq @ground
    cmp #DECO_FLOWER << 5
    beq @flower
    lda col_ground                      ; bush: the two rows above the ground
    sec
    sbc #PLAYFIELD_TOP + 2
    tay
    lda col_world
    and #1
    ora #T_BUSH
    sta column_tiles, y
    ora #2
    sta column_tiles + 1, y
    jmp @ground
@flower:
    lda col_ground
    sec
    sbc #PLAYFIELD_TOP + 1
    tay
    lda col_world
    and #1
    ora #T_FLOWER
    sta column_tiles, y

@ground:
    lda col_ground
    sec
    sbc #PLAYFIELD_TOP
    tay
    lda col_world
    and #1
    ora #T_GRASS
    sta column_tiles, y
@dirt:
    iny
    cpy #PLAYFIELD_ROWS
    bcs @done
    tya
    eor col_world
    and #1
    ora #T_DIRT
    sta column_tiles, y
    jmp @dirt
@done:
    rts
.endproc

; Stores the cloud tiles for position A (0 = left end) at rows Y and Y + 1 of column_tiles;
; the last position of a cloud is its right end.
.proc put_cloud_piece
    cmp #0
    beq @left
    cmp #5
    beq @check_b_end
    cmp #7
    beq @right
@middle:
    lda #T_CLOUD_TOP + 1
    ldx #T_CLOUD_BOTTOM + 1
    bne @store
@check_b_end:
    cpy #12 - PLAYFIELD_TOP             ; cloud B is 6 columns long, cloud A 8
    bne @middle
@right:
    lda #T_CLOUD_TOP + 2
    ldx #T_CLOUD_BOTTOM + 2
    bne @store
@left:
    lda #T_CLOUD_TOP
    ldx #T_CLOUD_BOTTOM
@store:
    sta column_tiles, y
    txa
    sta column_tiles + 1, y
    rts
.endproc

; Queues column_tiles for world tile column col_world into its place in the name tables.
.proc queue_column
    lda col_world
    and #32                             ; columns 32-63 of the ring live in the second table
    beq :+
    lda #>(NAMETABLE_1 - NAMETABLE_0)
:   clc
    adc #>(NAMETABLE_0 + PLAYFIELD_TOP * 32)
    ora #VRAM_INC32
    tax
    lda col_world
    and #31
    clc
    adc #<(NAMETABLE_0 + PLAYFIELD_TOP * 32)
    tay
    lda #PLAYFIELD_ROWS
    jsr vram_begin
    ldy #0
@copy:
    lda column_tiles, y
    sta vram_queue, x
    inx
    iny
    cpy #PLAYFIELD_ROWS
    bne @copy
    jmp vram_end
.endproc

; Writes column_tiles straight to the name tables (rendering off).
.proc write_column_now
    lda col_world
    and #32
    beq :+
    lda #>(NAMETABLE_1 - NAMETABLE_0)
:   clc
    adc #>(NAMETABLE_0 + PLAYFIELD_TOP * 32)
    bit PPUSTATUS
    sta PPUADDR
    lda col_world
    and #31
    clc
    adc #<(NAMETABLE_0 + PLAYFIELD_TOP * 32)
    sta PPUADDR
    ldy #0
@copy:
    lda column_tiles, y
    sta PPUDATA
    iny
    cpy #PLAYFIELD_ROWS
    bne @copy
    rts
.endproc
