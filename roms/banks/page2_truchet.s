; Bank 2: a Truchet pattern. Two 16x16 tiles of quarter-circle arcs, each placed at random or
; turned, join into endless curves. A draws a new pattern a row at a time; B changes colours.
.linecont +
.include "nes.inc"
.include "runtime.inc"
.include "sound.inc"
.include "chr_macros.inc"
.include "banks.inc"

T_ARC_A  = PAGE_TILES               ; 16x16: top left, top right, bottom left, bottom right
T_ARC_B  = PAGE_TILES + 4
BLOCK_ROWS = CONTENT_ROWS / 2       ; 11 rows of 16 blocks
SCHEMES  = 4

wipe_row   = page_vars + 0          ; next block row to redraw, or BLOCK_ROWS when idle
scheme     = page_vars + 1
row_blocks = page_vars + 2          ; 16 choices for the row being drawn

.segment "BANK2"
    PAGE_HEADER 2, draw, tick, name

name:
    .byte "TRUCHET CURVES  "

.proc draw
    PPU_ADDRESS PAGE_TILE_ADDRESS
    LOAD16 ptr0, tiles
    LOAD16 temp0, tiles_end - tiles
    jsr copy_to_vram

    PPU_ADDRESS NAMETABLE_0 + CONTENT_TOP * 32
    ldx #BLOCK_ROWS
@row:
    jsr choose_row
    lda #0
    jsr put_half_row
    lda #2
    jsr put_half_row
    dex
    bne @row

    lda #BLOCK_ROWS
    sta wipe_row
    LOAD16 ptr0, bands
    jsr write_page_attributes
    LOAD16 ptr0, palette
    jmp load_page_palette
.endproc

; Picks the 16 blocks of a row at random.
.proc choose_row
    txa
    pha
    ldx #15
@block:
    jsr rand
    and #4                          ; T_ARC_A or T_ARC_B
    ora #T_ARC_A
    sta row_blocks, x
    dex
    bpl @block
    pla
    tax
    rts
.endproc

; Writes one tile row of the blocks in row_blocks: A = 0 for the upper halves, 2 for the lower.
.proc put_half_row
    sta temp0
    ldy #0
@block:
    lda row_blocks, y
    ora temp0
    sta PPUDATA
    ora #1
    sta PPUDATA
    iny
    cpy #16
    bne @block
    rts
.endproc

.proc tick
    lda pad_new
    and #BUTTON_B
    beq @no_b
    inc scheme
    lda scheme
    and #SCHEMES - 1
    sta scheme
    asl a
    asl a
    tax
    ldy #0
@colour:
    lda schemes, x
    sta palette_buffer, y
    inx
    iny
    cpy #4
    bne @colour
    lda palette_buffer              ; the backdrop is shared with the sprites
    sta palette_buffer + 16
    lda #1
    sta palette_dirty
@no_b:
    lda pad_new
    and #BUTTON_A
    beq @no_a
    lda wipe_row
    cmp #BLOCK_ROWS
    bcc @no_a                       ; already redrawing
    lda #0
    sta wipe_row
    lda page_frame_counter          ; a new pattern each time
    eor rng
    sta rng
    ldx #<sfx_action
    ldy #>sfx_action
    jsr sfx_play_pulse
@no_a:
    ; Redraw one block row (two tile rows, 64 bytes) a frame.
    lda wipe_row
    cmp #BLOCK_ROWS
    bcs @done
    jsr choose_row
    lda wipe_row                    ; name-table address of the row: $2080 + 64 * row
    lsr a
    lsr a
    clc
    adc #>(NAMETABLE_0 + CONTENT_TOP * 32)
    sta temp1
    lda wipe_row
    and #3
    lsr a
    ror a
    ror a                           ; (row & 3) * 64
    clc
    adc #<(NAMETABLE_0 + CONTENT_TOP * 32)
    sta temp2
    bcc :+
    inc temp1
:   lda #0
    jsr queue_half_row
    lda temp2
    clc
    adc #32
    sta temp2
    bcc :+
    inc temp1
:   lda #2
    jsr queue_half_row
    inc wipe_row
@done:
    rts
.endproc

; Queues a tile row at temp1:temp2 from row_blocks (A = 0 upper halves, 2 lower halves).
.proc queue_half_row
    sta temp0
    lda #32
    ldx temp1
    ldy temp2
    jsr vram_begin
    ldy #0
@block:
    lda row_blocks, y
    ora temp0
    sta vram_queue, x
    inx
    ora #1
    sta vram_queue, x
    inx
    iny
    cpy #16
    bne @block
    jmp vram_end
.endproc

bands:
    .byte 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0

palette:
    .byte $0F, $01, $12, $32
    .byte $0F, $0F, $0F, $0F
    .byte $0F, $0F, $0F, $0F
    .byte $0F, $01, $11, $30

; Background, field, arc edge, arc middle.
schemes:
    .byte $0F, $01, $12, $32
    .byte $0F, $08, $17, $38
    .byte $0F, $0A, $1A, $3A
    .byte $0F, $04, $14, $34

tiles:
    META16 "1111112332111111", \
           "1111112332111111", \
           "1111122332111111", \
           "1111123321111111", \
           "1111233321111111", \
           "1122333211111111", \
           "2223332211111222", \
           "3333322111122333", \
           "3332211112233333", \
           "2221111122333222", \
           "1111111123332211", \
           "1111111233321111", \
           "1111111233211111", \
           "1111112332211111", \
           "1111112332111111", \
           "1111112332111111"
    META16 "1111112332111111", \
           "1111112332111111", \
           "1111112332211111", \
           "1111111233211111", \
           "1111111233321111", \
           "1111111123332211", \
           "2221111122333222", \
           "3332211112233333", \
           "3333322111122333", \
           "2223332211111222", \
           "1122333211111111", \
           "1111233321111111", \
           "1111123321111111", \
           "1111122332111111", \
           "1111112332111111", \
           "1111112332111111"
tiles_end:
