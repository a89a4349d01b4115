; The playfield: the wren walks and jumps through the looping meadow, throws seeds, stomps
; beetles and picks berries. A still status bar sits above the scrolling field, split off with
; the sprite-0 hit.
.include "nes.inc"
.include "runtime.inc"
.include "sound.inc"
.include "tiles.inc"
.include "demo.inc"

STATE_PLAY   = 0
STATE_PAUSED = 1
STATE_OVER   = 2

START_LIVES   = 3
PLAYER_START_X = 64
CAMERA_OFFSET = 120                 ; the wren is drawn this far from the left edge
WALK_SUBPIXELS = $80                ; 1.5 pixels a frame
GRAVITY       = $30                 ; 1/256 pixels per frame per frame
JUMP_SPEED    = $04C0               ; upward, 1/256 pixels per frame
BOUNCE_SPEED  = $0300
HURT_SPEED    = $0280
MAX_FALL      = $0400
INVULNERABLE_FRAMES = 90
SEED_FRAMES   = 40
SEED_SPEED    = 3

BEETLE_COUNT  = 4
BEETLE_RANGE  = 24                  ; pixels either side of home
BEETLE_WALK   = 0
BEETLE_FLAT   = 1
BEETLE_GONE   = 2
BEETLE_FLAT_FRAMES = 30
BEETLE_GONE_FRAMES = 240

BERRY_COUNT   = 8
BERRY_RESPAWN = 150                 ; in 4-frame steps: 600 frames

SPLIT_MARKER_Y = 23                 ; sprite 0's top row is drawn on line 24, the status band
SPLIT_MARKER_X = 16
STATUS_ICON_Y  = 7
OVER_WAIT_FRAMES = 60

.segment "ZEROPAGE"
cam_lo:         .res 1
cam_hi:         .res 1
game_state:     .res 1
game_frame:     .res 1
split_frame:    .res 1
oam_index:      .res 1
fig_x_lo:       .res 1              ; draw_figure arguments
fig_x_hi:       .res 1
fig_y:          .res 1
fig_tile:       .res 1
fig_attr:       .res 1
sprite_tile:    .res 1

.segment "BSS"
p_x_sub:        .res 1
p_x_lo:         .res 1
p_x_hi:         .res 1
p_y_sub:        .res 1
p_y:            .res 1              ; feet
p_vy_lo:        .res 1
p_vy_hi:        .res 1
p_facing:       .res 1              ; 0 right, 1 left
p_on_ground:    .res 1
p_moving:       .res 1
p_invulnerable: .res 1
p_old_y:        .res 1
p_old_x_lo:     .res 1
p_old_x_hi:     .res 1
p_old_x_sub:    .res 1
landing_y:      .res 1
lives:          .res 1
score:          .res 6              ; decimal digits, most significant first
berry_digits:   .res 2
status_dirty:   .res 1
message_dirty:  .res 1
over_timer:     .res 1

seed_timer:     .res 1
seed_x_lo:      .res 1
seed_x_hi:      .res 1
seed_y:         .res 1
seed_dir:       .res 1

spark_timer:    .res 1
spark_x_lo:     .res 1
spark_x_hi:     .res 1
spark_y:        .res 1

beetle_x_lo:    .res BEETLE_COUNT
beetle_x_hi:    .res BEETLE_COUNT
beetle_dir:     .res BEETLE_COUNT
beetle_state:   .res BEETLE_COUNT
beetle_timer:   .res BEETLE_COUNT
berry_timer:    .res BERRY_COUNT
status_row:     .res 32

.segment "CODE"

; ---- Start ----------------------------------------------------------------------------------
.proc game_start
    jsr rendering_off
    jsr reset_game
    jsr build_playfield
    jsr build_sprites
    LOAD16 ptr0, palette_game
    jsr load_palette
    lda #0
    sta scroll_x
    sta scroll_y
    lda #PPU_CTRL_DEMO
    sta ppu_ctrl
    lda #PPU_MASK_DEMO
    jsr rendering_on
    lda #PHASE_PLAY
    jsr set_result_phase
    ; fall through
.endproc

.proc game_loop
    jsr wait_frame
    jsr split_status_bar
    jsr read_pad
    inc game_frame

    lda game_state
    cmp #STATE_PLAY
    bne @not_playing
    lda pad_new
    and #BUTTON_START
    beq @play
    lda #STATE_PAUSED
    sta game_state
    lda #1
    sta message_dirty
    bne @frame_done
@play:
    jsr update_player
    jsr update_seed
    jsr update_beetles
    jsr update_berries
    jsr update_spark
    jsr update_camera
    jmp @frame_done

@not_playing:
    cmp #STATE_PAUSED
    bne @game_over
    lda pad_new
    and #BUTTON_START
    beq @frame_done
    lda #STATE_PLAY
    sta game_state
    lda #1
    sta message_dirty
    bne @frame_done

@game_over:
    lda over_timer
    beq @may_leave
    dec over_timer
    jmp @frame_done
@may_leave:
    lda pad_new
    and #BUTTON_START
    beq @frame_done
    jmp title_screen

@frame_done:
    lda lives
    sta RESULT_DETAIL
    jsr build_sprites
    jsr queue_updates
    lda #1
    sta vram_ready
    jmp game_loop
.endproc

; Waits for the sprite-0 hit on the status band, then scrolls the rest of the picture to the
; camera. Gives up if an NMI comes first (the hit was missed this frame).
.proc split_status_bar
    lda nmi_count
    sta split_frame
@wait_clear:                        ; the flag of the last frame clears when the picture starts
    bit PPUSTATUS
    bvs @wait_clear
@wait_hit:
    lda nmi_count
    cmp split_frame
    bne @missed
    bit PPUSTATUS
    bvc @wait_hit
    lda cam_hi
    and #1
    ora #PPU_CTRL_DEMO
    sta PPUCTRL
    lda cam_lo
    sta PPUSCROLL
    lda #0
    sta PPUSCROLL
@missed:
    rts
.endproc

.proc reset_game
    lda #STATE_PLAY
    sta game_state
    lda #0
    ldx #p_old_y - p_x_sub          ; player fields up to the saved copies
@clear_player:
    sta p_x_sub, x
    dex
    bpl @clear_player
    sta seed_timer
    sta spark_timer
    sta game_frame
    sta over_timer
    ldx #5
@clear_score:
    sta score, x
    dex
    bpl @clear_score
    sta berry_digits
    sta berry_digits + 1
    lda #<PLAYER_START_X
    sta p_x_lo
    lda #>PLAYER_START_X
    sta p_x_hi
    lda #GROUND_ROW * 8
    sta p_y
    lda #1
    sta p_on_ground
    sta status_dirty
    lda #START_LIVES
    sta lives

    ldx #BEETLE_COUNT - 1
@beetles:
    jsr respawn_beetle
    dex
    bpl @beetles
    lda #0
    ldx #BERRY_COUNT - 1
@berries:
    sta berry_timer, x
    dex
    bpl @berries
    jmp update_camera
.endproc

; Puts beetle X back at its home, walking in a direction chosen at random.
.proc respawn_beetle
    lda beetle_home_lo, x
    sta beetle_x_lo, x
    lda beetle_home_hi, x
    sta beetle_x_hi, x
    lda #BEETLE_WALK
    sta beetle_state, x
    txa
    pha
    jsr rand
    and #1
    sta temp0
    pla
    tax
    lda temp0
    sta beetle_dir, x
    rts
.endproc

; ---- Screen ---------------------------------------------------------------------------------
.proc build_playfield
    lda #T_SKY
    jsr clear_nametables

    PPU_ADDRESS NAMETABLE_0         ; status bar: three navy rows and the band
    lda #T_SPACE
    ldx #96
@bar:
    sta PPUDATA
    dex
    bne @bar
    lda #T_BAND
    ldx #32
@band_0:
    sta PPUDATA
    dex
    bne @band_0
    PPU_ADDRESS NAMETABLE_1 + 3 * 32 ; the band also lies under the scrolled field's top
    lda #T_BAND
    ldx #32
@band_1:
    sta PPUDATA
    dex
    bne @band_1

    LOAD16 ptr0, game_bands
    ldx #>ATTRIBUTES_0
    jsr set_attribute_bands
    LOAD16 ptr0, game_bands
    ldx #>ATTRIBUTES_1
    jsr set_attribute_bands

    ; The 64 columns of the name-table ring around the camera.
    lda #PPU_CTRL_DEMO | CTRL_INC32
    sta PPUCTRL
    lda cam_hi
    sta temp0
    lda cam_lo
    lsr temp0
    ror a
    lsr temp0
    ror a
    lsr temp0
    ror a                           ; camera tile column
    sec
    sbc #16
    sta temp2
    lda #64
    sta temp3
@column:
    lda temp2
    jsr render_column
    jsr write_column_now
    inc temp2
    dec temp3
    bne @column
    lda #PPU_CTRL_DEMO
    sta PPUCTRL

    jsr build_status_row
    PPU_ADDRESS NAMETABLE_0 + 32
    ldx #0
@status:
    lda status_row, x
    sta PPUDATA
    inx
    cpx #32
    bne @status
    lda #0
    sta status_dirty
    sta message_dirty
    rts
.endproc

; " SCORE 000000     X00" with the berry icon drawn as a sprite before the X.
.proc build_status_row
    ldx #31
@copy:
    lda status_template, x
    sta status_row, x
    dex
    bpl @copy
    ldx #5
@score:
    lda score, x
    ora #'0'
    sta status_row + 7, x
    dex
    bpl @score
    lda berry_digits
    ora #'0'
    sta status_row + 19
    lda berry_digits + 1
    ora #'0'
    sta status_row + 20
    rts
.endproc

; Queues this frame's name-table changes: one column at an edge of the view (right edge on even
; frames, left edge on odd ones), the status row and the message row when they changed.
.proc queue_updates
    lda cam_hi
    sta temp0
    lda cam_lo
    lsr temp0
    ror a
    lsr temp0
    ror a
    lsr temp0
    ror a
    sta temp1                       ; leftmost visible tile column
    lda game_frame
    and #1
    bne @left_edge
    lda temp1
    clc
    adc #33
    jmp @column
@left_edge:
    lda temp1
    sec
    sbc #1
@column:
    jsr render_column
    jsr queue_column

    lda status_dirty
    beq @status_done
    jsr build_status_row
    lda #32
    ldx #>(NAMETABLE_0 + 32)
    ldy #<(NAMETABLE_0 + 32)
    jsr vram_begin
    ldy #0
@status_copy:
    lda status_row, y
    sta vram_queue, x
    inx
    iny
    cpy #32
    bne @status_copy
    jsr vram_end
    lda #0
    sta status_dirty
@status_done:

    lda message_dirty
    beq @done
    lda #0
    sta message_dirty
    lda game_state                  ; message rows are 16 bytes each, indexed by state
    asl a
    asl a
    asl a
    asl a
    sta temp0
    lda #16
    ldx #>(NAMETABLE_0 + 64 + 8)
    ldy #<(NAMETABLE_0 + 64 + 8)
    jsr vram_begin
    ldy temp0
    lda #16
    sta temp1
@message_copy:
    lda state_messages, y
    sta vram_queue, x
    inx
    iny
    dec temp1
    bne @message_copy
    jsr vram_end
@done:
    rts
.endproc

; ---- Player ---------------------------------------------------------------------------------
.proc update_player
    lda p_invulnerable
    beq :+
    dec p_invulnerable
:
    lda p_x_lo
    sta p_old_x_lo
    lda p_x_hi
    sta p_old_x_hi
    lda p_x_sub
    sta p_old_x_sub
    lda #0
    sta p_moving

    lda pad
    and #BUTTON_RIGHT
    beq @not_right
    lda #0
    sta p_facing
    lda p_x_sub
    clc
    adc #WALK_SUBPIXELS
    sta p_x_sub
    lda p_x_lo
    adc #1
    sta p_x_lo
    lda p_x_hi
    adc #0
    and #WORLD_MASK_HI
    sta p_x_hi
    lda #13                         ; leading edge
    jsr check_wall
    jmp @vertical
@not_right:
    lda pad
    and #BUTTON_LEFT
    beq @vertical
    lda #1
    sta p_facing
    lda p_x_sub
    sec
    sbc #WALK_SUBPIXELS
    sta p_x_sub
    lda p_x_lo
    sbc #1
    sta p_x_lo
    lda p_x_hi
    sbc #0
    and #WORLD_MASK_HI
    sta p_x_hi
    lda #2
    jsr check_wall

@vertical:
    lda pad_new
    and #BUTTON_B
    beq @no_seed
    jsr throw_seed
@no_seed:
    lda p_on_ground
    beq @in_air
    lda pad_new
    and #BUTTON_A
    beq @in_air
    lda #<-JUMP_SPEED
    sta p_vy_lo
    lda #>-JUMP_SPEED
    sta p_vy_hi
    lda #0
    sta p_on_ground
    ldx #<sfx_jump
    ldy #>sfx_jump
    jsr sfx_play_pulse
@in_air:
    ; Gravity, limited to the largest falling speed.
    lda p_vy_lo
    clc
    adc #GRAVITY
    sta p_vy_lo
    lda p_vy_hi
    adc #0
    sta p_vy_hi
    bmi @move
    cmp #>MAX_FALL
    bcc @move
    lda #<MAX_FALL
    sta p_vy_lo
    lda #>MAX_FALL
    sta p_vy_hi
@move:
    lda p_y
    sta p_old_y
    lda p_y_sub
    clc
    adc p_vy_lo
    sta p_y_sub
    lda p_y
    adc p_vy_hi
    sta p_y
    lda #0
    sta p_on_ground
    lda p_vy_hi
    bmi @done                       ; rising: platforms are passed from below
    jsr find_landing
    bcs @done
    sta p_y
    lda #0
    sta p_y_sub
    sta p_vy_lo
    sta p_vy_hi
    lda #1
    sta p_on_ground
@done:
    rts
.endproc

; Undoes this frame's step when the column under the leading edge (p_x + A) has ground above
; the wren's feet.
.proc check_wall
    jsr column_under_player
    jsr ground_row_of_column
    asl a
    asl a
    asl a
    cmp p_y
    bcs @free
    lda p_old_x_lo
    sta p_x_lo
    lda p_old_x_hi
    sta p_x_hi
    lda p_old_x_sub
    sta p_x_sub
    rts
@free:
    lda #1
    sta p_moving
    rts
.endproc

; X = the 16-pixel column under world x p_x + A.
.proc column_under_player
    clc
    adc p_x_lo
    sta temp0
    lda p_x_hi
    adc #0
    and #WORLD_MASK_HI
    asl a
    asl a
    asl a
    asl a
    sta temp1
    lda temp0
    lsr a
    lsr a
    lsr a
    lsr a
    ora temp1
    tax
    rts
.endproc

; Carry clear and A = the highest ground or platform top that the feet crossed this frame
; (from p_old_y down to p_y) under either foot; carry set when there is none.
.proc find_landing
    lda #$FF
    sta landing_y
    lda #3
    jsr probe_surfaces
    lda #12
    jsr probe_surfaces
    lda landing_y
    cmp #$FF
    rts                             ; carry set exactly when nothing was found
.endproc

; Considers the surfaces of the column under p_x + A for landing_y.
.proc probe_surfaces
    jsr column_under_player
    stx temp2
    jsr ground_row_of_column
    jsr consider_surface
    ldx temp2
    jsr platform_row_of_column
    beq @done
    jsr consider_surface
@done:
    rts
.endproc

; A = a surface's tile row; keeps it in landing_y when the feet crossed it and it is higher.
.proc consider_surface
    asl a
    asl a
    asl a
    cmp p_old_y
    bcc @no                         ; the feet were already below it
    cmp p_y
    beq @crossed
    bcs @no                         ; not reached yet
@crossed:
    cmp landing_y
    bcs @no
    sta landing_y
@no:
    rts
.endproc

.proc throw_seed
    lda seed_timer
    bne @busy
    lda #SEED_FRAMES
    sta seed_timer
    lda p_facing
    sta seed_dir
    lda p_x_lo
    clc
    adc #4
    sta seed_x_lo
    lda p_x_hi
    adc #0
    and #WORLD_MASK_HI
    sta seed_x_hi
    lda p_y
    sec
    sbc #12
    sta seed_y
    ldx #<sfx_seed
    ldy #>sfx_seed
    jsr sfx_play_noise
@busy:
    rts
.endproc

.proc update_seed
    lda seed_timer
    beq @done
    dec seed_timer
    lda seed_dir
    bne @left
    lda seed_x_lo
    clc
    adc #SEED_SPEED
    sta seed_x_lo
    lda seed_x_hi
    adc #0
    jmp @store
@left:
    lda seed_x_lo
    sec
    sbc #SEED_SPEED
    sta seed_x_lo
    lda seed_x_hi
    sbc #0
@store:
    and #WORLD_MASK_HI
    sta seed_x_hi
@done:
    rts
.endproc

.proc update_camera
    lda p_x_lo
    sec
    sbc #CAMERA_OFFSET
    sta cam_lo
    lda p_x_hi
    sbc #0
    and #WORLD_MASK_HI
    sta cam_hi
    rts
.endproc

; Carry clear and A = (temp1:temp0 - p_x) as a signed byte when the point is within 127 pixels
; of the wren (around the loop); carry set otherwise.
.proc offset_from_player
    lda temp0
    sec
    sbc p_x_lo
    sta temp2
    lda temp1
    sbc p_x_hi
    and #WORLD_MASK_HI
    beq @ahead
    cmp #WORLD_MASK_HI
    bne @far
    lda temp2
    bpl @far
    clc
    rts
@ahead:
    lda temp2
    bmi @far
    clc
    rts
@far:
    sec
    rts
.endproc

; A = |A| for a signed byte.
.proc absolute
    cmp #0
    bpl @done
    eor #$FF
    clc
    adc #1
@done:
    rts
.endproc

; ---- Beetles --------------------------------------------------------------------------------
.proc update_beetles
    ldx #BEETLE_COUNT - 1
@beetle:
    lda beetle_state, x
    cmp #BEETLE_WALK
    beq @walk
    dec beetle_timer, x
    bne @next
    cmp #BEETLE_FLAT
    bne @respawn
    lda #BEETLE_GONE
    sta beetle_state, x
    lda #BEETLE_GONE_FRAMES
    sta beetle_timer, x
    bne @next
@respawn:
    jsr respawn_beetle
    jmp @next
@walk:
    lda game_frame                  ; half a pixel a frame
    and #1
    bne @touch
    lda beetle_dir, x
    bne @walk_left
    inc beetle_x_lo, x
    bne @turn
    inc beetle_x_hi, x
    jmp @turn
@walk_left:
    lda beetle_x_lo, x
    bne :+
    dec beetle_x_hi, x
:   dec beetle_x_lo, x
@turn:
    lda beetle_x_hi, x
    and #WORLD_MASK_HI
    sta beetle_x_hi, x
    lda beetle_x_lo, x              ; distance from home, signed (homes are far from the wrap)
    sec
    sbc beetle_home_lo, x
    jsr absolute
    cmp #BEETLE_RANGE
    bcc @touch
    lda beetle_dir, x
    eor #1
    sta beetle_dir, x
@touch:
    jsr beetle_hits
@next:
    dex
    bpl @beetle
    rts
.endproc

; Beetle X against the seed and the wren.
.proc beetle_hits
    lda beetle_x_lo, x
    sta temp0
    lda beetle_x_hi, x
    sta temp1
    jsr offset_from_player
    bcs @done
    sta temp3                       ; beetle x - wren x

    lda seed_timer
    beq @wren
    lda seed_x_lo                   ; seed (4 pixels right of its x) against beetle middle (8)
    sec
    sbc beetle_x_lo, x
    sec
    sbc #4
    jsr absolute
    cmp #8
    bcs @wren
    lda seed_y
    cmp #GROUND_ROW * 8 - 16
    bcc @wren                       ; beetles walk on the lowest ground only
    lda #0
    sta seed_timer
    lda #5                          ; 50 points
    ldy #4
    jsr squash_beetle
    rts

@wren:
    lda temp3
    jsr absolute
    cmp #13
    bcs @done
    lda p_y                         ; wren feet below the beetle's top (ground - 10)?
    cmp #GROUND_ROW * 8 - 10
    bcc @done
    lda p_vy_hi
    bmi @hurt
    ora p_vy_lo
    beq @hurt
    lda p_old_y                     ; coming down onto its back
    cmp #GROUND_ROW * 8 - 6
    bcs @hurt
    lda #<-BOUNCE_SPEED
    sta p_vy_lo
    lda #>-BOUNCE_SPEED
    sta p_vy_hi
    lda #GROUND_ROW * 8 - 10
    sta p_y
    lda #1                          ; 100 points
    ldy #3
    jmp squash_beetle
@hurt:
    lda p_invulnerable
    bne @done
    jmp hurt_player
@done:
    rts
.endproc

; Flattens beetle X and adds A points at score digit Y.
.proc squash_beetle
    sta temp2
    lda #BEETLE_FLAT
    sta beetle_state, x
    lda #BEETLE_FLAT_FRAMES
    sta beetle_timer, x
    txa
    pha
    lda beetle_x_lo, x
    sta spark_x_lo
    lda beetle_x_hi, x
    sta spark_x_hi
    lda #GROUND_ROW * 8 - 12
    sta spark_y
    lda #16
    sta spark_timer
    tya
    tax
    lda temp2
    jsr add_points
    ldx #<sfx_stomp
    ldy #>sfx_stomp
    jsr sfx_play_noise
    pla
    tax
    rts
.endproc

.proc hurt_player
    txa
    pha
    lda #INVULNERABLE_FRAMES
    sta p_invulnerable
    lda #<-HURT_SPEED
    sta p_vy_lo
    lda #>-HURT_SPEED
    sta p_vy_hi
    lda #1
    sta status_dirty
    dec lives
    bne @alive
    lda #STATE_OVER
    sta game_state
    lda #OVER_WAIT_FRAMES
    sta over_timer
    lda #1
    sta message_dirty
    lda #PHASE_GAMEOVER
    jsr set_result_phase
    ldx #<sfx_over
    ldy #>sfx_over
    jsr sfx_play_pulse
    jmp @done
@alive:
    ldx #<sfx_hurt
    ldy #>sfx_hurt
    jsr sfx_play_pulse
@done:
    pla
    tax
    rts
.endproc

; ---- Berries --------------------------------------------------------------------------------
.proc update_berries
    ldx #BERRY_COUNT - 1
@berry:
    lda berry_timer, x
    beq @present
    lda game_frame
    and #3
    bne @next
    dec berry_timer, x
    jmp @next
@present:
    lda berry_x_lo, x
    sta temp0
    lda berry_x_hi, x
    sta temp1
    jsr offset_from_player          ; berry x - wren x; the berry's middle is 4 pixels in,
    bcs @next                       ; the wren's 8
    sec
    sbc #4
    jsr absolute
    cmp #10
    bcs @next
    lda berry_y, x                  ; berry middle (y - 6) against wren middle (feet - 8)
    sec
    sbc p_y
    clc
    adc #2
    jsr absolute
    cmp #11
    bcs @next
    jsr pick_berry
@next:
    dex
    bpl @berry
    rts
.endproc

.proc pick_berry
    lda #BERRY_RESPAWN
    sta berry_timer, x
    lda berry_x_lo, x
    sta spark_x_lo
    lda berry_x_hi, x
    sta spark_x_hi
    lda berry_y, x
    sec
    sbc #12
    sta spark_y
    lda #16
    sta spark_timer
    txa
    pha
    inc berry_digits + 1
    lda berry_digits + 1
    cmp #10
    bcc @counted
    lda #0
    sta berry_digits + 1
    inc berry_digits
    lda berry_digits
    cmp #10
    bcc @counted
    lda #9                          ; stays at 99
    sta berry_digits
    sta berry_digits + 1
@counted:
    lda #1                          ; 10 points
    ldx #4
    jsr add_points
    ldx #<sfx_berry
    ldy #>sfx_berry
    jsr sfx_play_pulse
    pla
    tax
    rts
.endproc

.proc update_spark
    lda spark_timer
    beq @done
    dec spark_timer
@done:
    rts
.endproc

; Adds A (0-9) at score digit X (5 = ones) with carries; the score stops at 999999.
.proc add_points
@add:
    clc
    adc score, x
    cmp #10
    bcc @store
    sbc #10
    sta score, x
    lda #1
    dex
    bpl @add
    lda #9
    ldx #5
@full:
    sta score, x
    dex
    bpl @full
    bmi @dirty
@store:
    sta score, x
@dirty:
    lda #1
    sta status_dirty
    rts
.endproc

; ---- Sprites --------------------------------------------------------------------------------
.proc build_sprites
    ; Sprite 0 marks the split: its top row is opaque and lies behind the status band.
    lda #SPLIT_MARKER_Y
    sta oam_buffer
    lda #SPRITE_TILE(S_MARKER)
    sta oam_buffer + 1
    lda #$20 | SP_SEED              ; behind the background
    sta oam_buffer + 2
    lda #SPLIT_MARKER_X
    sta oam_buffer + 3
    lda #4
    sta oam_index

    ; Status icons: the berry before the count, one heart per life.
    lda #STATUS_ICON_Y
    ldx #SPRITE_TILE(S_BERRY)
    ldy #SP_BERRY
    sty temp0
    ldy #132
    jsr put_sprite
    lda lives
    sta temp1
    lda #208
    sta temp2
@heart:
    lda temp1
    beq @hearts_done
    lda #SP_BERRY
    sta temp0
    lda #STATUS_ICON_Y
    ldx #SPRITE_TILE(S_HEART)
    ldy temp2
    jsr put_sprite
    lda temp2
    clc
    adc #12
    sta temp2
    dec temp1
    jmp @heart
@hearts_done:

    jsr draw_wren
    jsr draw_seed
    jsr draw_spark
    jsr draw_beetles
    jsr draw_berries

    ldx oam_index                   ; hide the rest
    beq @done
    lda #SPRITE_HIDDEN_Y
@hide:
    sta oam_buffer, x
    inx
    inx
    inx
    inx
    bne @hide
@done:
    rts
.endproc

; Appends one sprite: A = OAM y, X = tile, Y = screen x, temp0 = attributes. Keeps temp1-temp3.
.proc put_sprite
    stx sprite_tile
    ldx oam_index
    beq @full                       ; wrapped: all 64 are used
    sta oam_buffer, x
    lda sprite_tile
    sta oam_buffer + 1, x
    lda temp0
    sta oam_buffer + 2, x
    tya
    sta oam_buffer + 3, x
    inx
    inx
    inx
    inx
    stx oam_index
@full:
    rts
.endproc

; Draws a 16x16 figure: fig_x (world), fig_y (top line), fig_tile (first tile of the pair of
; pairs), fig_attr. Halves off the screen are left out; a mirrored figure swaps its halves.
.proc draw_figure16
    lda fig_attr
    sta temp0
    lda fig_x_lo
    sec
    sbc cam_lo
    sta temp1
    lda fig_x_hi
    sbc cam_hi
    and #WORLD_MASK_HI
    sta temp2                       ; temp2:temp1 = screen x of the left half
    ldx fig_tile
    lda fig_attr
    and #$40
    beq :+
    inx                             ; mirrored: the right half's tiles go on the left
    inx
:   stx temp3
    lda temp2
    bne @right_half
    lda temp3
    ora #1
    tax
    ldy temp1
    lda fig_y
    sec
    sbc #1
    jsr put_sprite
@right_half:
    lda temp1
    clc
    adc #8
    tay
    lda temp2
    adc #0
    and #WORLD_MASK_HI
    bne @done
    lda temp3
    eor #2                          ; the other half
    ora #1
    tax
    lda fig_y
    sec
    sbc #1
    jsr put_sprite
@done:
    rts
.endproc

; Draws an 8x16 figure at world fig_x, top line fig_y, tile pair fig_tile, fig_attr.
.proc draw_figure8
    lda fig_attr
    sta temp0
    lda fig_x_lo
    sec
    sbc cam_lo
    tay
    lda fig_x_hi
    sbc cam_hi
    and #WORLD_MASK_HI
    bne @done
    lda fig_tile
    ora #1
    tax
    lda fig_y
    sec
    sbc #1
    jsr put_sprite
@done:
    rts
.endproc

.proc draw_wren
    lda p_invulnerable              ; blink while invulnerable
    and #4
    bne @done
    lda p_x_lo
    sta fig_x_lo
    lda p_x_hi
    sta fig_x_hi
    lda p_y
    sec
    sbc #16
    sta fig_y
    lda #S_WREN_JUMP
    ldx p_on_ground
    beq @tile
    lda #S_WREN_STAND
    ldx p_moving
    beq @tile
    lda game_frame
    and #8
    beq :+
    lda #S_WREN_WALK
    bne @tile
:   lda #S_WREN_STAND
@tile:
    sta fig_tile
    lda p_facing
    beq :+
    lda #$40
:   ora #SP_WREN
    sta fig_attr
    jmp draw_figure16
@done:
    rts
.endproc

.proc draw_seed
    lda seed_timer
    beq @done
    lda seed_x_lo
    sta fig_x_lo
    lda seed_x_hi
    sta fig_x_hi
    lda seed_y
    sec
    sbc #4
    sta fig_y
    lda #S_SEED
    sta fig_tile
    lda #SP_SEED
    sta fig_attr
    jmp draw_figure8
@done:
    rts
.endproc

.proc draw_spark
    lda spark_timer
    beq @done
    lda spark_x_lo
    clc
    adc #4
    sta fig_x_lo
    lda spark_x_hi
    adc #0
    and #WORLD_MASK_HI
    sta fig_x_hi
    lda spark_y
    sta fig_y
    lda #S_SPARKLE
    sta fig_tile
    lda spark_timer
    and #4
    asl a
    asl a
    asl a
    asl a                           ; alternate mirrored and plain
    ora #SP_SEED
    sta fig_attr
    jmp draw_figure8
@done:
    rts
.endproc

.proc draw_beetles
    ldx #BEETLE_COUNT - 1
@beetle:
    lda beetle_state, x
    cmp #BEETLE_GONE
    beq @next
    lda beetle_x_lo, x
    sta fig_x_lo
    lda beetle_x_hi, x
    sta fig_x_hi
    lda #GROUND_ROW * 8 - 16
    sta fig_y
    lda beetle_state, x
    cmp #BEETLE_FLAT
    bne @walking
    lda #S_BEETLE_FLAT
    bne @tile
@walking:
    lda game_frame
    and #16
    beq :+
    lda #S_BEETLE_B
    bne @tile
:   lda #S_BEETLE_A
@tile:
    sta fig_tile
    lda beetle_dir, x               ; drawn facing left: mirrored when walking right
    eor #1
    beq :+
    lda #$40
:   ora #SP_BEETLE
    sta fig_attr
    txa
    pha
    jsr draw_figure16
    pla
    tax
@next:
    dex
    bpl @beetle
    rts
.endproc

.proc draw_berries
    ldx #BERRY_COUNT - 1
@berry:
    lda berry_timer, x
    bne @next
    lda berry_x_lo, x
    sta fig_x_lo
    lda berry_x_hi, x
    sta fig_x_hi
    lda berry_y, x
    sec
    sbc #10
    sta fig_y
    lda #S_BERRY
    sta fig_tile
    lda #SP_BERRY
    sta fig_attr
    txa
    pha
    jsr draw_figure8
    pla
    tax
@next:
    dex
    bpl @berry
    rts
.endproc


.segment "RODATA"
; Homes of the beetles: flat stretches of the lowest ground.
beetle_home_lo:
    .byte <(33 * 16), <(68 * 16), <(95 * 16), <(113 * 16)
beetle_home_hi:
    .byte >(33 * 16), >(68 * 16), >(95 * 16), >(113 * 16)

; Berries: world x of the berry's left edge and the surface it sits on.
berry_x_lo:
    .byte <(9 * 16 + 4), <(20 * 16 + 4), <(29 * 16 + 4), <(46 * 16 + 12)
    .byte <(58 * 16 + 4), <(76 * 16 + 4), <(105 * 16 + 4), <(124 * 16 + 4)
berry_x_hi:
    .byte >(9 * 16 + 4), >(20 * 16 + 4), >(29 * 16 + 4), >(46 * 16 + 12)
    .byte >(58 * 16 + 4), >(76 * 16 + 4), >(105 * 16 + 4), >(124 * 16 + 4)
berry_y:
    .byte 18 * 8, 20 * 8, 16 * 8, 10 * 8
    .byte 16 * 8, 14 * 8, 12 * 8, 24 * 8

; Palette of each band of two tile rows: status bar, sky, ground.
game_bands:
    .byte 3, 3, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1

status_template:
    .byte " SCORE 000000     X00           "
.assert * - status_template = 32, error, "the status row is 32 tiles"

; The message row for each state: none while playing.
state_messages:
    .byte "                "
    .byte "     PAUSED     "
    .byte "   GAME  OVER   "
.assert * - state_messages = 48, error, "three messages of 16 tiles"
